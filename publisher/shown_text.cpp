// Chart text as the window decodes it, and which characters a reader cannot see.
#include "publisher/shown_text.h"

#include <algorithm>

namespace publisher {
std::u32string DecodedLine(std::string_view line) {
    std::u32string decoded;
    decoded.reserve(line.size());
    ForEachCharacter(line, [&](char32_t c) {
        decoded += c;
        return true;
    });
    return decoded;
}

Unseen UnseenKind(char32_t c) {
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029) return Unseen::Control;
    if (c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
        return Unseen::Bidirectional;
    if (c == 0x00AD || c == 0x180E || (c >= 0x200B && c <= 0x200D) || (c >= 0x2060 && c <= 0x2064) ||
        (c >= 0x206A && c <= 0x206F) || c == 0xFEFF)
        return Unseen::ZeroWidth;
    return Unseen::No;
}

std::vector<char32_t> UnseenCharacters(std::string_view text) {
    std::vector<char32_t> unseen;
    // Printable ASCII alone, as most of a chart is: nothing to look for.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) return unseen;
    ForEachCharacter(text, [&](char32_t c) {
        if (UnseenKind(c) != Unseen::No && std::find(unseen.begin(), unseen.end(), c) == unseen.end())
            unseen.push_back(c);
        return true;
    });
    return unseen;
}

std::string CodePointName(char32_t c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name = "U+";
    const int digits = c > 0xFFFF ? 6 : 4;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) name += kHex[(c >> shift) & 0x0F];
    return name;
}

}  // namespace publisher
