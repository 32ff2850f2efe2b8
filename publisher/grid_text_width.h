#pragma once
// Where the window's grid cuts a cell's text, measured with the grid font's
// advances and kerning as the build measured them (measure_grid_font.cpp),
// without a window library: `check` asks it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace publisher {

// The characters of a cell as the grid draws them (chart/text/display_limit.h's
// rule: decoded, bidirectional controls left out, at most 2000 characters).
std::u32string GridCellText(std::string_view cell);

// Their width in 1/64 pixels, as the font engine adds it up.
std::int64_t GridTextWidth(std::u32string_view text);

// The width column col (0 the names, 1 to 7 the results) gives its text, in
// 1/64 pixels.
std::int64_t GridTextRoom(int col);

// What the grid shows of a cell in column col when it cuts it (the
// characters that fit whole, as UTF-8); nothing when the text fits. Blanks at
// the end count for nothing.
std::optional<std::string> GridCut(int col, std::string_view cell);

}  // namespace publisher
