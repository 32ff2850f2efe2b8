#pragma once
// The grid model as the data reader fills it: the rows' count by the grid's
// row-count rule (whose selection events may raise), and every cell written
// and row added presented once, when the read is over.
#include "chart/files/data_rows.h"
#include "chart/tables/grid_model.h"

namespace chart {

class GridRows : public DataRows {
public:
    explicit GridRows(GridModel& grid) : grid_(grid), presentOnce_(grid) {}

    void Begin() override;
    int RowOf(int program) const override { return grid_.FixedRows() + program; }
    void SetCell(int col, int row, std::string text) override { grid_.SetCell(col, row, std::move(text)); }
    void AddRow() override { grid_.SetRowCount(grid_.RowCount() + 1); }
    void End() override { grid_.SetRowCount(grid_.RowCount() - 1); }

private:
    GridModel& grid_;
    const GridModel::Batch presentOnce_;
};

}  // namespace chart
