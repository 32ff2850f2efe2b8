#pragma once
// Chart text as the window decodes it, for the tool to measure and to print: a
// line's characters, and which of them a reader cannot see as they stand.
#include <string>
#include <string_view>
#include <vector>

#include "chart/text/utf8.h"
#include "chart/text/windows_1252.h"

namespace publisher {

// Each character of one line of chart text, as the window decodes it, in
// order, until each (bool(char32_t)) returns false: a line may be megabytes
// long.
template <typename Each>
void ForEachCharacter(std::string_view line, Each&& each) {
    if (!chart::IsValidUtf8(line)) {
        for (const char byte : line)
            if (!each(static_cast<char32_t>(chart::Windows1252CodePoint(static_cast<unsigned char>(byte))))) return;
        return;
    }
    for (std::size_t at = 0; at < line.size();)
        if (!each(chart::NextCodePoint(line, at))) return;
}

// The characters of one line of chart text, as the window decodes it.
std::u32string DecodedLine(std::string_view line);

enum class Unseen { No, Control, Bidirectional, ZeroWidth };

// Control characters (C0, DEL, C1, the line and paragraph separators),
// bidirectional marks, embeddings, overrides and isolates, and the
// zero-width and invisible formatting characters (the byte-order mark, the
// soft hyphen among them).
Unseen UnseenKind(char32_t c);

// The unseen characters of a text, each once, in the order they first come.
std::vector<char32_t> UnseenCharacters(std::string_view text);

// "U+200B".
std::string CodePointName(char32_t c);

}  // namespace publisher
