#pragma once
// The version file: the newest program version on offer, then the lowest one
// that can read the chart; further lines are ignored. Lines are taken as they
// stand: no trimming, no reading as numbers.
#include <string>
#include <string_view>

#include "chart/tables/chart_tables.h"

namespace chart {

// Reads the version file from its bytes, read before, into LatestVersion and
// RequiredVersion (a missing line gives the empty string).
void ReadVersionBytes(std::string_view bytes, ChartTables& tables);

}  // namespace chart
