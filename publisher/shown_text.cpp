#include "publisher/shown_text.h"

#include <algorithm>

#include "chart/text/utf8.h"
#include "chart/text/windows_1252.h"

namespace publisher {
namespace {

// The character that starts at `at` of valid UTF-8, and its length.
std::pair<char32_t, std::size_t> Utf8At(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length && at + k < text.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    return {c, length};
}

}  // namespace

std::u32string DecodedLine(std::string_view line) {
    std::u32string decoded;
    decoded.reserve(line.size());
    if (!chart::IsValidUtf8(line)) {
        for (const char byte : line) decoded += chart::Windows1252CodePoint(static_cast<unsigned char>(byte));
        return decoded;
    }
    for (std::size_t at = 0; at < line.size();) {
        const auto [c, length] = Utf8At(line, at);
        decoded += c;
        at += length;
    }
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
    for (const char32_t c : DecodedLine(text))
        if (UnseenKind(c) != Unseen::No && std::find(unseen.begin(), unseen.end(), c) == unseen.end())
            unseen.push_back(c);
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
