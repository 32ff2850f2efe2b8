// The chart grid model: the row-count rule, the selection events and the wheel's notches.
#include "chart/tables/grid_model.h"

namespace chart {
namespace {

const std::string kEmptyCell;
constexpr int kWheelNotch = 120;

}  // namespace

void GridModel::Changed() {
    if (batchDepth_ > 0)
        changedInBatch_ = true;
    else if (onChange_)
        onChange_();
}

void GridModel::EndBatch() {
    if (--batchDepth_ > 0 || !changedInBatch_) return;
    changedInBatch_ = false;
    if (onChange_) onChange_();
}

void GridModel::SetRowCount(int value) {
    if (value == rowCount_) return;
    if (value < 1) value = 1;

    const int oldRowCount = rowCount_;
    const int oldFixedRows = fixedRows_;
    const int oldCol = col_, oldRow = row_;
    const int oldAnchorCol = anchorCol_, oldAnchorRow = anchorRow_;

    if (value <= fixedRows_) {
        // The grid keeps at least one scrollable row: the fixed rows give way.
        fixedRows_ = value - 1;
        if (onScrollHome_) onScrollHome_();
        col_ = 0;
        row_ = fixedRows_;
        anchorCol_ = col_;
        anchorRow_ = row_;
    }
    rowCount_ = value;

    if (row_ >= rowCount_) {
        const int lastRow = rowCount_ - 1;
        try {
            if (onSelectCell_) onSelectCell_(col_, lastRow, SelectionCause::RowCountChange);
        } catch (...) {
            // The handler's error, whatever it is, goes on to whoever set the
            // row count, the change undone.
            rowCount_ = oldRowCount;
            fixedRows_ = oldFixedRows;
            col_ = oldCol;
            row_ = oldRow;
            anchorCol_ = oldAnchorCol;
            anchorRow_ = oldAnchorRow;
            throw;
        }
        row_ = lastRow;
        anchorCol_ = col_;
        anchorRow_ = row_;
    }
    Changed();
}

void GridModel::RestoreFixedRow() {
    if (fixedRows_ == 1 || rowCount_ < 2) return;
    fixedRows_ = 1;
    if (row_ < fixedRows_) {
        row_ = fixedRows_;
        anchorCol_ = col_;
        anchorRow_ = row_;
    }
    if (anchorRow_ < fixedRows_) anchorRow_ = fixedRows_;
    Changed();
}

const std::string& GridModel::Cell(int col, int row) const {
    if (row < 0 || col < 0 || static_cast<size_t>(row) >= cells_.size()) return kEmptyCell;
    const auto& cells = cells_[row];
    return static_cast<size_t>(col) < cells.size() ? cells[col] : kEmptyCell;
}

void GridModel::SetCell(int col, int row, std::string text) {
    if (row < 0 || col < 0) return;
    const auto r = static_cast<size_t>(row), c = static_cast<size_t>(col);
    // An empty text in a cell never written reads the same: nothing to store.
    if (text.empty() && (r >= cells_.size() || c >= cells_[r].size())) return;
    if (r >= cells_.size()) cells_.resize(r + 1);
    std::vector<std::string>& cells = cells_[r];
    if (c >= cells.size()) {
        // A row is written cell by cell from the left: room for the shown
        // columns at once, rather than a move of its texts at each new one.
        if (cells.capacity() < static_cast<size_t>(kColCount)) cells.reserve(kColCount);
        cells.resize(c + 1);
    }
    cells[c] = std::move(text);
    Changed();
}

void GridModel::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Changed();
}

void GridModel::SelectCell(int col, int row) {
    if (!enabled_) return;
    if (col < 0 || col >= kColCount || row < fixedRows_ || row >= rowCount_) return;
    if (onSelectCell_) onSelectCell_(col, row, SelectionCause::User);
    col_ = col;
    row_ = row;
    anchorCol_ = col;
    anchorRow_ = row;
    Changed();
}

void GridModel::ExtendSelection(int col, int row) {
    if (!enabled_) return;
    if (col < 0 || col >= kColCount || row < fixedRows_ || row >= rowCount_) return;
    anchorCol_ = col;
    anchorRow_ = row;
    Changed();
}

void GridModel::Wheel(int delta) {
    if (!enabled_) return;
    const long long total = static_cast<long long>(wheelRemainder_) + delta;
    long long notches = total / kWheelNotch;
    wheelRemainder_ = static_cast<int>(total % kWheelNotch);
    // Each notch is one step; at the first or last row the remaining notches
    // have nothing to move.
    for (; notches != 0; notches += notches < 0 ? 1 : -1) {
        const int target = notches < 0 ? row_ + 1 : row_ - 1;
        if (target < fixedRows_ || target >= rowCount_) break;
        SelectCell(col_, target);
        if (row_ != target) break;  // the move was refused (e.g. the grid got disabled)
    }
}

}  // namespace chart
