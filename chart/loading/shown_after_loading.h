#pragma once
// A chart as the window shows it after its loads, without a window: the
// publisher's tool, the tests and the benchmarks ask this, not the form.
#include <string>

#include "chart/loading/shown_chart.h"
#include "chart/files/chart_snapshot.h"

namespace chart {

// Loaded at start from `start`, then, when given, reloaded from `reload` as
// an Update ends (nothing clears a cell or a table slot between the two).
ShownChart ShownAfterLoading(const ChartSnapshot& start, const ChartSnapshot* reload,
                             const std::string& publisherHost);

}  // namespace chart
