#pragma once
// What readers saw of a chart, kept to compare the next one with: its text as
// the window shows it (cut at the display limit), so a chart at the size caps
// is kept in a few megabytes, whatever the bytes behind it.
#include <string>
#include <vector>

#include "chart/compare/compare_chart.h"
#include "chart/loading/shown_chart.h"

namespace chart {

struct SeenChart {
    explicit SeenChart(const ShownChart& shown);

    // Names, results, answers, the tests as the details panel names them, and
    // who each program is.
    CompareChart chart;
    // Each program's page address as a message would show it, from row 1.
    std::vector<std::string> addresses;
    std::vector<std::string> messages;  // what the loading sequence said, in order
    bool enabled = true;                // the grid takes selections
};

}  // namespace chart
