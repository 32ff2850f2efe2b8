#pragma once
// Checks of what a server sent, byte by byte, with ASCII letter case only
// (no locale: a header or a file's first bytes are not text in any language).
#include <cctype>
#include <string_view>

namespace update {

// True when text begins with lowerPrefix, in any letter case.
inline bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != lowerPrefix[i]) return false;
    }
    return true;
}

}  // namespace update
