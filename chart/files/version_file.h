#pragma once
// The version file: the newest program version on offer, then the lowest one
// that can read the chart; further lines are ignored. Lines are taken as they
// stand: no trimming, no reading as numbers.
#include <string>
#include <string_view>

#include "chart/tables/chart_tables.h"

namespace chart {

// What a read of the version file found.
struct VersionFileSummary {
    int lines = 0;  // lines read: 2, or fewer when the file ends before

    bool operator==(const VersionFileSummary&) const = default;
};

// Reads the version file from its bytes, read before, into LatestVersion and
// RequiredVersion (a missing line gives the empty string). Reports the lines
// read.
VersionFileSummary ReadVersionBytes(std::string_view bytes, ChartTables& tables);

}  // namespace chart
