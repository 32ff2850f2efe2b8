#pragma once
// Only a chart replaces a chart: three files' bytes read as the chart will be
// read, by the chart core's own readers in a dry run on scratch tables.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "chart/files/chart_snapshot.h"
#include "chart/files/data_file.h"
#include "chart/files/policy_file.h"

namespace chart {

// Why three files are not a chart: the file (ChartFileIndex) and the rule it breaks.
struct NotAChart {
    std::size_t file = 0;
    std::string rule;
};

// Refused: any of the three that begins as markup or JSON (a captive portal's
// login page, a server's error page or document, an API's error object), a
// data file without one complete program record, a policy file without one
// complete test, a version file whose first line is not a version number. No
// version gate: what a version file asks for is judged by the reload after.
std::optional<NotAChart> WhyBytesAreNotAChart(const ChartSnapshot& files);

// The same for bytes the readers went through already: what they reported,
// and the newest version read.
std::optional<NotAChart> WhyReadBytesAreNotAChart(const std::array<std::string_view, 3>& bytes,
                                                  const DataFileSummary& data, const PolicyFileSummary& policy,
                                                  std::string_view latestVersion);

}  // namespace chart
