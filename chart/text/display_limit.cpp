// Each line of a chart text cut at the display limit.
#include "chart/text/display_limit.h"

#include "chart/text/utf8.h"

namespace chart {
namespace {

// U+202A to U+202E and U+2066 to U+2069 in UTF-8.
bool IsBidiControl(std::string_view utf8, std::size_t at) {
    if (at + 2 >= utf8.size() || utf8[at] != '\xE2') return false;
    const auto second = static_cast<unsigned char>(utf8[at + 1]);
    const auto third = static_cast<unsigned char>(utf8[at + 2]);
    return (second == 0x80 && third >= 0xAA && third <= 0xAE) || (second == 0x81 && third >= 0xA6 && third <= 0xA9);
}

}  // namespace

std::size_t ShownLength(std::string_view line) {
    // No byte decodes to more than one character: a short line needs no look.
    if (!IsValidUtf8(line)) return line.size();  // Windows-1252: one a byte
    std::size_t units = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if ((byte & 0xC0) == 0x80) continue;  // inside a character
        if (IsBidiControl(line, i)) continue;
        units += byte >= 0xF0 ? 2 : 1;  // past U+FFFF: a surrogate pair
    }
    return units;
}

bool IsCutForDisplay(std::string_view text) {
    // A line of no more bytes than the limit is never cut.
    if (text.size() <= kDisplayTextLimit) return false;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t lf = text.find('\n', start);
        std::string_view line = text.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (lf != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > kDisplayTextLimit && ShownLength(line) > kDisplayTextLimit) return true;
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return false;
}

}  // namespace chart
