#pragma once
// A chart text as one grid cell shows it, in UTF-8, for what leaves the core as
// text (the CSV) and what it matches.
#include <string>
#include <string_view>

namespace chart {

// Each line decoded on its own (UTF-8 where valid, Windows-1252 otherwise),
// the bidirectional controls left out, cut at the display limit with "…", line
// breaks shown as spaces: the rule of the window's own decoder
// (ui/text/display_text).
std::string ShownCell(std::string_view bytes);

}  // namespace chart
