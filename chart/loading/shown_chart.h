#pragma once
// What the window shows of a chart, kept by value: its tables, the cells of
// the rows its programs fill, what its loading sequence said, whether its
// grid takes selections. A reload is compared with the chart before it.
#include <array>
#include <string>
#include <vector>

#include "chart/tables/chart_tables.h"
#include "chart/tables/grid_model.h"

namespace chart {

struct ShownChart {
    using Row = std::array<std::string, GridModel::kColCount>;

    ChartTables tables;
    std::vector<Row> rows;              // the programs' rows, row 1 first
    std::vector<std::string> messages;  // what the loading sequence said, in order
    bool enabled = true;

    // The programs rows the grid shows (the spare row of a chart without
    // programs is none).
    static ShownChart Of(const ChartTables& tables, const GridModel& grid, int programs,
                         std::vector<std::string> messages);

    int Programs() const { return static_cast<int>(rows.size()); }
    const std::string& Name(int row) const { return rows[static_cast<std::size_t>(row - 1)][0]; }
    // The details panel's text for the program in `row` and test `col`, or
    // the error a selection there raises.
    std::string Details(int row, int col) const;
};

}  // namespace chart
