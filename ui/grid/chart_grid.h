#pragma once
// StringGrid1: the widget that presents the chart grid model and feeds it the
// user's input; every way into the cell-selection event goes through the model.
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <functional>

#include "chart/tables/grid_model.h"

namespace vantrel::ui {

class GridTableModel;

// A left press on a non-fixed cell (the current one too), a keyboard move to
// a different cell and a wheel notch while focused raise the event; a double
// click's second press, a press on the fixed row or in a column-sizing zone,
// dragging and Shift-press do not (the last two extend the selected range).
// The view scrolls only where the user moves (a press, a key, a wheel notch,
// a drag held beyond an edge); loads, cell writes and enabling leave it where
// the user put it (the row-count rule's scroll to the top-left aside).
// Disabling and enabling it again (an update) leaves the keyboard focus where
// it was. Ctrl+C copies the current cell's text as shown.
class ChartGrid : public QTableView {
    Q_OBJECT
public:
    // Cell sizes as designed; each Qt section adds the 1-pixel grid line.
    static constexpr int kNameColumnWidth = 225;
    static constexpr int kResultColumnWidth = 25;
    static constexpr int kRowHeight = 25;
    static constexpr int kFixedRowHeight = 5;
    static constexpr int kGridLine = 1;
    // How often a drag held beyond the top or bottom edge scrolls a row.
    static constexpr int kDragScrollIntervalMs = 60;

    ChartGrid(chart::GridModel& grid, QWidget* parent);
    ~ChartGrid() override;

    chart::GridModel& Model() { return grid_; }
    GridTableModel& TableModel() { return *tableModel_; }

    // The window's StringGrid1Click and StringGrid1MouseMove handlers.
    void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    void SetOnMouseMove(std::function<void()> handler) { onMouseMove_ = std::move(handler); }

    // Brings the widget up to date with the grid model.
    void Refresh();

    // Where (col, grid row) lies in viewport coordinates: for tests and
    // screenshots.
    QRect CellRect(int col, int gridRow) const;
    // Selects the cell as the user does, and brings it into view.
    void Select(int col, int gridRow);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool CellAt(QPoint viewportPos, int& col, int& gridRow) const;
    int FullyVisibleRows() const;
    int TopVisibleRow() const;
    int BottomVisibleRow() const;
    void Extend(int col, int gridRow);
    void ShowCell(int col, int gridRow);
    void DragScrollStep();
    void ApplyRowHeights();
    void ApplyEnabled();
    void CopyCurrentCell();

    chart::GridModel& grid_;
    GridTableModel* tableModel_;
    std::function<void()> onClick_;
    std::function<void()> onMouseMove_;
    bool pressed_ = false;
    QPoint dragPos_;  // the pointer during a drag, in viewport coordinates
    QTimer dragScroll_;
    // While disabled: whether the grid had the focus, and who has it since.
    bool focusComesBack_ = false;
    QPointer<QWidget> focusHeldMeanwhile_;
};

}  // namespace vantrel::ui
