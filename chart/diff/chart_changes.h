#pragma once
// What readers will see change from one chart to the next, one line each in
// readers' terms: what the loading sequence says at start (the version gate),
// the tests' titles and sub-criteria, programs added, removed or moved (by
// name and row; programs of one name told apart by their row), each changed
// result, sub-criterion answer and page address. The publisher's diff prints
// them; the window lists them after a reload.
#include <string>
#include <vector>

#include "chart/diff/shown_chart.h"

namespace chart {

struct ChartChange {
    std::string text;     // the line, as diff prints it
    std::string program;  // the program it is about, as named in its lines; "" for the chart
    int row = 0;          // the program's row in the new chart; 0 when it has none
    int col = 0;          // the column (1 to 7) whose cell shows the change; 0 for none
};

// In diff's order: the start, the tests, programs removed, added and moved,
// then each program's changes in the new chart's order.
std::vector<ChartChange> ChangesBetween(const ShownChart& before, const ShownChart& after);

}  // namespace chart
