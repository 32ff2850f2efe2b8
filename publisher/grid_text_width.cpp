// Where the grid cuts a cell's text, by the font the build measured.
#include "publisher/grid_text_width.h"

#include <algorithm>
#include <array>

#include "chart/text/display_limit.h"
#include "chart/text/utf8.h"
#include "publisher/grid_font_widths.h"
#include "publisher/shown_text.h"

namespace publisher {
namespace {

// The measured characters up to here are looked up at once, the rest searched.
constexpr char32_t kDirect = 0x2200;

struct DirectTables {
    std::array<std::int32_t, kDirect> advances{};
    std::array<bool, kDirect> kernsWithNext{};  // the first of some pair
    std::int64_t widestAscii = 0;   // of the printable ASCII characters
    std::int64_t mostKerning = 0;   // the largest widening between two neighbours
};

const DirectTables& Direct() {
    static const DirectTables tables = [] {
        DirectTables made;
        made.advances.fill(static_cast<std::int32_t>(grid_font::kUnmeasuredAdvance));
        for (const auto& entry : grid_font::kAdvances)
            if (entry.c < kDirect) made.advances[entry.c] = entry.width;
        for (const auto& entry : grid_font::kKerning) {
            if ((entry.pair >> 16) < kDirect) made.kernsWithNext[entry.pair >> 16] = true;
            made.mostKerning = std::max<std::int64_t>(made.mostKerning, entry.adjust);
        }
        for (char32_t c = 0x20; c < 0x7F; ++c) made.widestAscii = std::max<std::int64_t>(made.widestAscii, made.advances[c]);
        return made;
    }();
    return tables;
}

std::int64_t Advance(char32_t c) {
    if (c < kDirect) return Direct().advances[c];
    const auto* end = std::end(grid_font::kAdvances);
    const auto* found = std::lower_bound(std::begin(grid_font::kAdvances), end, c,
                                         [](const grid_font::Advance& entry, char32_t key) { return entry.c < key; });
    return found != end && found->c == c ? found->width : grid_font::kUnmeasuredAdvance;
}

std::int64_t Kerning(char32_t first, char32_t second) {
    if (first > 0xFFFF || second > 0xFFFF || (first < kDirect && !Direct().kernsWithNext[first])) return 0;
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
    for (const char32_t c : text) chart::AppendUtf8(out, c);
    return out;
}

// Each character of a cell as the grid draws it, until each returns false.
template <typename Each>
void ForEachDrawnCharacter(std::string_view cell, Each&& each) {
    std::size_t units = 0;  // UTF-16 units, as the window counts the limit
    ForEachCharacter(cell, [&](char32_t c) {
        if (IsBidiControl(c)) return true;
        if (IsLineBreak(c)) c = U' ';
        units += c > 0xFFFF ? 2 : 1;
        if (units > chart::kDisplayTextLimit) {
            each(U'\u2026');
            return false;
        }
        return each(c);
    });
}

}  // namespace

std::u32string GridCellText(std::string_view cell) {
    std::u32string shown;
    ForEachDrawnCharacter(cell, [&](char32_t c) {
        shown += c;
        return true;
    });
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
    // Most cells fit: a short one of printable ASCII fits at its widest;
    // others are measured as they come, blanks at the end counting for
    // nothing, and given up on once past the room.
    const std::int64_t room = GridTextRoom(col);
    const auto length = static_cast<std::int64_t>(cell.size());
    if (length * (Direct().widestAscii + Direct().mostKerning) <= room &&
        std::all_of(cell.begin(), cell.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        return std::nullopt;
    std::int64_t width = 0, inked = 0;
    char32_t previous = 0;
    ForEachDrawnCharacter(cell, [&](char32_t c) {
        width += Advance(c) + (previous ? Kerning(previous, c) : 0);
        previous = c;
        if (c != U' ' && c != U'\t') inked = width;
        return inked <= room;
    });
    if (inked <= room) return std::nullopt;
    // Cut: the characters that fit whole.
    const std::u32string text = GridCellText(cell);
    width = 0;
    std::size_t fits = 0;
    for (; fits < text.size(); ++fits) {
        width += Advance(text[fits]) + (fits > 0 ? Kerning(text[fits - 1], text[fits]) : 0);
        if (width > room) break;
    }
    return Utf8(std::u32string_view(text).substr(0, fits));
}

}  // namespace publisher
