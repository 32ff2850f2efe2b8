// What the window shows of a chart, kept by value.
#include "chart/loading/shown_chart.h"

#include <algorithm>

#include "chart/details/details_text.h"

namespace chart {

ShownChart ShownChart::Of(const ChartTables& tables, const GridModel& grid, int programs,
                          std::vector<std::string> messages) {
    ShownChart shown{tables, {}, std::move(messages), grid.Enabled()};
    const int rows = std::min(programs, std::max(0, grid.RowCount() - grid.FixedRows()));
    for (int row = 1; row <= rows; ++row) {
        Row& cells = shown.rows.emplace_back();
        for (int col = 0; col < GridModel::kColCount; ++col) cells[static_cast<std::size_t>(col)] = grid.Cell(col, row);
    }
    return shown;
}

std::string ShownChart::Details(int row, int col) const {
    try {
        return DetailsText(tables, row, col);
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace chart
