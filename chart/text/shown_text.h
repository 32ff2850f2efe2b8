#pragma once
// A chart text as one grid cell shows it, in UTF-8: each line decoded on its
// own (UTF-8 where valid, Windows-1252 otherwise), the bidirectional controls
// left out, cut at the display limit with "…", line breaks shown as spaces.
// The window's own decoder (ui/text/display_text) goes by the same rule; this
// one serves what leaves the core as text (the CSV) and what it matches.
#include <string>
#include <string_view>

namespace chart {

std::string ShownCell(std::string_view bytes);

}  // namespace chart
