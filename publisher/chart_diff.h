#pragma once
// What readers will see change between two charts: messages at start (the
// version gate), programs added, removed or moved, each changed result,
// sub-criterion answer and page address, and the tests' own changes. One
// line each; none when the two charts show the same.
#include <string>
#include <vector>

#include "publisher/loaded_chart.h"

namespace publisher {

std::vector<std::string> DiffCharts(const LoadedChart& before, const LoadedChart& after);

}  // namespace publisher
