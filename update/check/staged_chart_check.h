#pragma once
// Only a chart replaces a chart. Before the commit the staged files are read
// the way the chart will be read, with the chart core's own readers, in a dry
// run on scratch tables: nothing is shown and the window's grid is not
// touched. Refused: any of the three that begins as markup or JSON (a captive
// portal's login page, a server's error page or error document, an API's
// error object), a data file without one complete program record, a policy
// file without one complete test (an empty file included), a version file
// whose first line is not a version number. This is no version gate: what a
// version file asks for is judged by the reload after the commit.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "chart/files/data_file.h"
#include "chart/files/policy_file.h"
#include "update/failure.h"
#include "update/folder/work_files.h"

namespace update {

// Why three files are not a chart: the file (its place in kChartFiles) and
// the rule it breaks.
struct NotAChart {
    std::size_t file = 0;
    std::string rule;
};

// The three staged chart files' bytes, in the order of kChartFiles.
using StagedChart = std::array<std::string, 3>;

// The staged files, read once as the folder's work files are (no link
// followed, no FIFO waited on), when they may become the chart; otherwise a
// NotAChart failure whose detail is the rule that refused them.
Result<StagedChart> ReadStagedChart(const WorkFiles& folder);
// The same for files whose bytes were read before and gone through by the
// chart core's readers: what those reported, and the newest version read.
std::optional<NotAChart> WhyReadBytesAreNotAChart(const std::array<std::string_view, 3>& bytes,
                                                  const chart::DataFileSummary& data,
                                                  const chart::PolicyFileSummary& policy,
                                                  std::string_view latestVersion);

}  // namespace update
