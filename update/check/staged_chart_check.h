#pragma once
// Only a chart replaces a chart: before the commit the staged files are read
// once and judged by the chart core's rules (chart/verify/chart_bytes_check.h);
// nothing is shown and the window's grid is not touched.
#include "chart/files/chart_snapshot.h"
#include "update/failure.h"
#include "folder/work_files.h"

namespace update {

// The three staged chart files' bytes, as a load reads them.
using StagedChart = chart::ChartSnapshot;

// The staged files, read once as the folder's work files are (no link
// followed, no FIFO waited on), when they may become the chart; otherwise a
// NotAChart failure whose detail is the rule that refused them, or the
// folder's failure when a staging file cannot be read.
Result<StagedChart> ReadStagedChart(const folder::WorkFiles& folder);

}  // namespace update
