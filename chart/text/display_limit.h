#pragma once
// What of a chart text reaches the window: each line decoded on its own (UTF-8
// where the line is valid UTF-8, Windows-1252 otherwise), less the
// bidirectional controls, and cut to kDisplayTextLimit characters (UTF-16
// units, as the window's toolkit counts them) with "…" after. Far above any
// real chart's, so that no text a chart can hold makes the window lay out
// megabytes. The window does the decoding; the publisher's check asks here
// what the window cuts.
#include <cstddef>
#include <string_view>

namespace chart {

inline constexpr std::size_t kDisplayTextLimit = 2000;

// The characters one line (no LF in it) is shown as before the cut.
std::size_t ShownLength(std::string_view line);

// Whether the window cuts any line of text (lines end with LF, a CR before it
// dropped).
bool IsCutForDisplay(std::string_view text);

}  // namespace chart
