#pragma once
// The version file: the newest program version on offer, then the lowest one
// that can read the chart; further lines are ignored. Lines are taken as they
// stand: no trimming, no reading as numbers.
#include <string>
#include <string_view>

#include "chart/tables/chart_tables.h"

namespace chart {

// Reads the version file at path into LatestVersion and RequiredVersion (a
// missing line gives the empty string). A failure is raised as it comes; a
// string read before it keeps its new value.
void ReadVersionFile(const std::string& path, ChartTables& tables);
// The same from the file's bytes, read before.
void ReadVersionBytes(std::string_view bytes, ChartTables& tables);

}  // namespace chart
