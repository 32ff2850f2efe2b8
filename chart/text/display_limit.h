#pragma once
// What of a chart text reaches the window, by the one rule the window and the
// publisher's check share: each line cut to kDisplayTextLimit characters.
#include <cstddef>

namespace chart {

// Each line decoded on its own (UTF-8 where valid, Windows-1252 otherwise),
// less the bidirectional controls, and cut to this many UTF-16 units (as the
// window's toolkit counts them) with "…" after: far above any real chart's,
// so that no text a chart can hold makes the window lay out megabytes.
inline constexpr std::size_t kDisplayTextLimit = 2000;

}  // namespace chart
