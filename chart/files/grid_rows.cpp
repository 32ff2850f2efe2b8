// The grid model as the data reader fills it, presented once when the read is over.
#include "chart/files/grid_rows.h"

namespace chart {

void GridRows::Begin() {
    grid_.SetRowCount(2);
    // An earlier empty file may have cost the grid its fixed row; record r
    // must land in row r, where the selection handler looks for it.
    grid_.RestoreFixedRow();
}

}  // namespace chart
