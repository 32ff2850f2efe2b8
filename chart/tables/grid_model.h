#pragma once
// The chart grid model: the state behind the main window's grid, which the
// grid widget presents and feeds with the user's presses, keys and wheel notches.
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace chart {

// Why the current cell is about to move.
enum class SelectionCause {
    User,            // a press, a key, a wheel notch
    RowCountChange,  // the row-count rule moved it (only during a load)
};

// Cells are stored apart from the row and column counts: rows the row-count
// rule hides keep their text.
class GridModel {
public:
    static constexpr int kColCount = 8;
    // What each column holds, as the headings picture above the grid says it
    // (column 0, the program's name, has no heading).
    static constexpr std::array<const char*, kColCount> kColumnHeadings = {
        "", "OS support", "Demo version", "Interception", "Log viewing",
        "Security", "Network options", "Total",
    };

    // Raised before the current cell moves to (col, row). Throwing an exception
    // vetoes the move (and, for a row-count change, undoes the change); the
    // exception then reaches whoever caused the move.
    using SelectCellHandler = std::function<void(int col, int row, SelectionCause cause)>;
    // Told after any visible change (cells, counts, current cell, range,
    // enabled); within a batch, once when the outermost batch ends.
    using ChangeListener = std::function<void()>;
    // Told when the row-count rule scrolls the view back to the top-left.
    using ScrollHomeListener = std::function<void()>;

    // Holds back the change listener while it lives, so that a load filling
    // many cells is presented once. Batches nest; the selection events are
    // raised as they happen, batch or not.
    class Batch {
    public:
        explicit Batch(GridModel& grid) : grid_(grid) { ++grid_.batchDepth_; }
        ~Batch() { grid_.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        GridModel& grid_;
    };

    static constexpr int kDefaultRowCount = 2;

    int ColCount() const { return kColCount; }
    int RowCount() const { return rowCount_; }
    void SetRowCount(int value);  // the row-count rule, steps 1 to 5
    int FixedRows() const { return fixedRows_; }
    // Gives back the one fixed row lost to an empty data file (see ReadInfo).
    // Silent: no selection event.
    void RestoreFixedRow();

    const std::string& Cell(int col, int row) const;  // never written: ""
    void SetCell(int col, int row, std::string text);  // any col/row >= 0; counts unchanged

    int Col() const { return col_; }  // current cell
    int Row() const { return row_; }
    // The selected range runs from the current cell to the anchor.
    int AnchorCol() const { return anchorCol_; }
    int AnchorRow() const { return anchorRow_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // A user's selection of (col, row): raises the event (also for the current
    // cell), then moves the current cell there and collapses the range onto it.
    // Ignored for a fixed or non-existent cell. If the handler throws, nothing
    // moves and the exception propagates.
    void SelectCell(int col, int row);
    // Dragging or a Shift-press: moves the range's far end, no event.
    void ExtendSelection(int col, int row);
    // Mouse wheel while the grid has the focus. 120 units make a notch, the
    // remainder is kept. Negative deltas (towards the user) move one row down.
    void Wheel(int delta);

    void SetOnSelectCell(SelectCellHandler handler) { onSelectCell_ = std::move(handler); }
    void SetOnChange(ChangeListener listener) { onChange_ = std::move(listener); }
    void SetOnScrollHome(ScrollHomeListener listener) { onScrollHome_ = std::move(listener); }

private:
    void Changed();
    void EndBatch();

    std::vector<std::vector<std::string>> cells_;  // [row][col], grown on write
    int rowCount_ = kDefaultRowCount;
    int fixedRows_ = 1;
    int col_ = 0, row_ = 1;
    int anchorCol_ = 0, anchorRow_ = 1;
    bool enabled_ = true;
    int wheelRemainder_ = 0;
    int batchDepth_ = 0;
    bool changedInBatch_ = false;
    SelectCellHandler onSelectCell_;
    ChangeListener onChange_;
    ScrollHomeListener onScrollHome_;
};

}  // namespace chart
