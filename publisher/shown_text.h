#pragma once
// Chart text as the window decodes it, for the tool to measure and to print:
// a line's characters (UTF-8 where the line is valid, Windows-1252
// otherwise), and which of them a reader cannot see as they stand: control
// characters, bidirectional marks and controls, zero-width characters.
#include <string>
#include <string_view>
#include <vector>

namespace publisher {

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
