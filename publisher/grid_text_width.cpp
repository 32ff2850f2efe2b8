#include "publisher/grid_text_width.h"

#include <algorithm>

#include "chart/text/display_limit.h"
#include "publisher/grid_font_widths.h"
#include "publisher/shown_text.h"

namespace publisher {
namespace {

std::int64_t Advance(char32_t c) {
    const auto* end = std::end(grid_font::kAdvances);
    const auto* found = std::lower_bound(std::begin(grid_font::kAdvances), end, c,
                                         [](const grid_font::Advance& entry, char32_t key) { return entry.c < key; });
    return found != end && found->c == c ? found->width : grid_font::kUnmeasuredAdvance;
}

std::int64_t Kerning(char32_t first, char32_t second) {
    if (first > 0xFFFF || second > 0xFFFF) return 0;
    const std::uint32_t pair = (static_cast<std::uint32_t>(first) << 16) | second;
    const auto* end = std::end(grid_font::kKerning);
    const auto* found = std::lower_bound(std::begin(grid_font::kKerning), end, pair,
                                         [](const grid_font::Kerning& entry, std::uint32_t key) { return entry.pair < key; });
    return found != end && found->pair == pair ? found->adjust : 0;
}

bool IsBidiControl(char32_t c) { return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069); }

bool IsLineBreak(char32_t c) {
    return c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

std::string Utf8(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::u32string GridCellText(std::string_view cell) {
    std::u32string shown;
    std::size_t units = 0;  // UTF-16 units, as the window counts the limit
    for (char32_t c : DecodedLine(cell)) {
        if (IsBidiControl(c)) continue;
        if (IsLineBreak(c)) c = U' ';
        units += c > 0xFFFF ? 2 : 1;
        if (units > chart::kDisplayTextLimit) {
            shown += U'\u2026';
            break;
        }
        shown += c;
    }
    return shown;
}

std::int64_t GridTextWidth(std::u32string_view text) {
    std::int64_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        width += Advance(text[i]);
        if (i > 0) width += Kerning(text[i - 1], text[i]);
    }
    return width;
}

std::int64_t GridTextRoom(int col) { return col == 0 ? grid_font::kNameTextWidth : grid_font::kResultTextWidth; }

std::optional<std::string> GridCut(int col, std::string_view cell) {
    std::u32string text = GridCellText(cell);
    while (!text.empty() && (text.back() == U' ' || text.back() == U'\t')) text.pop_back();
    const std::int64_t room = GridTextRoom(col);
    if (GridTextWidth(text) <= room) return std::nullopt;
    std::int64_t width = 0;
    std::size_t fits = 0;
    for (; fits < text.size(); ++fits) {
        width += Advance(text[fits]) + (fits > 0 ? Kerning(text[fits - 1], text[fits]) : 0);
        if (width > room) break;
    }
    return Utf8(std::u32string_view(text).substr(0, fits));
}

}  // namespace publisher
