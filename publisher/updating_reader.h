#pragma once
// Where readers who update to a chart see other than readers who start afresh
// on it, between two of the viewer's own loads (loaded_chart.h).
#include <string>
#include <vector>

#include "chart/loading/shown_chart.h"

namespace publisher {

struct ReaderDifferences {
    // A cell of a program's row (column 0 to 7).
    struct Cell {
        int row = 0;
        int col = 0;
        std::string updating;  // what readers who update see: kept from the chart before
        std::string fresh;     // what readers who start afresh see
    };
    // The first line where a test's details differ (the same for every row:
    // a test's title, count and sub-criteria are the chart's).
    struct Details {
        int col = 0;
        int row = 0;  // the first program's row where they differ
        std::string updating;
        std::string fresh;
        // A selection there raises an error instead (updating, fresh: its text).
        bool updatingRaises = false;
        bool freshRaises = false;
    };
    std::vector<Cell> cells;        // row by row, column by column
    std::vector<Details> details;   // test by test
    std::vector<std::string> onlyUpdating;  // what the loading tells only readers who update
    std::vector<std::string> onlyFresh;     // ... only readers who start afresh
    bool enabledDiffers = false;            // one grid takes selections, the other not

    bool Empty() const {
        return cells.empty() && details.empty() && onlyUpdating.empty() && onlyFresh.empty() && !enabledDiffers;
    }
};

// The viewer clears nothing between loads: the cells and table slots the new
// chart does not fill, and the version lines it does not give, keep the ones
// before.
ReaderDifferences DifferencesFromFresh(const chart::ShownChart& updating, const chart::ShownChart& fresh);

}  // namespace publisher
