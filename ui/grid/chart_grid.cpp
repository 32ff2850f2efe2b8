// StringGrid1: the grid widget, the user's input fed to the chart grid model.
#include "ui/grid/chart_grid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/grid/cell_delegate.h"
#include "ui/grid/grid_table_model.h"
#include "ui/grid/header_row.h"
#include "ui/guarded_call.h"
#include "ui/text/display_text.h"

namespace vantrel::ui {

ChartGrid::ChartGrid(chart::GridModel& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), tableModel_(new GridTableModel(grid, this)) {
    setHorizontalHeader(new HeaderRow(this));
    // Hidden before the model comes, so its row numbers are never measured.
    verticalHeader()->hide();
    setModel(tableModel_);
    setItemDelegate(new CellDelegate(grid_, *this));
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLine);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFixedHeight(kFixedRowHeight + kGridLine);
    horizontalHeader()->resizeSection(0, kNameColumnWidth + kGridLine);
    for (int col = 1; col < grid_.ColCount(); ++col)
        horizontalHeader()->resizeSection(col, kResultColumnWidth + kGridLine);

    setShowGrid(true);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setDragEnabled(false);
    setAutoScroll(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    dragScroll_.setInterval(kDragScrollIntervalMs);
    connect(&dragScroll_, &QTimer::timeout, this, &ChartGrid::DragScrollStep);

    grid_.SetOnChange([this] { Refresh(); });
    grid_.SetOnScrollHome([this] {
        scrollToTop();
        horizontalScrollBar()->setValue(0);
    });
    Refresh();
}

ChartGrid::~ChartGrid() {
    grid_.SetOnChange(nullptr);
    grid_.SetOnScrollHome(nullptr);
}

void ChartGrid::Refresh() {
    tableModel_->Refresh();
    ApplyRowHeights();
    horizontalHeader()->setVisible(grid_.FixedRows() > 0);
    ApplyEnabled();
    const int viewRow = tableModel_->ViewRow(grid_.Row());
    if (viewRow >= 0 && viewRow < tableModel_->rowCount() && grid_.Col() >= 0 &&
        grid_.Col() < tableModel_->columnCount()) {
        // Keeps Qt's notion of the current cell (what screen readers follow)
        // on the grid model's; with auto-scroll off this moves no view.
        const QModelIndex current = tableModel_->index(viewRow, grid_.Col());
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
    viewport()->update();
}

void ChartGrid::ApplyEnabled() {
    const bool enabled = grid_.Enabled();
    if (!enabled && isEnabled()) {
        // Qt hands the focus of a control it disables to the next one (the
        // details panel, during an update); it comes back with the grid,
        // unless the user has put it somewhere else meanwhile.
        const bool hadFocus = window()->focusWidget() == this;
        setEnabled(false);
        focusComesBack_ = hadFocus;
        focusHeldMeanwhile_ = hadFocus ? window()->focusWidget() : nullptr;
    } else if (enabled && !isEnabled()) {
        setEnabled(true);
        if (focusComesBack_ && window()->focusWidget() == focusHeldMeanwhile_)
            setFocus(Qt::OtherFocusReason);
        focusComesBack_ = false;
    }
}

void ChartGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Qt's table tells screen readers of every new current cell as a move of
    // the focus, even when the grid does not have it (a cell selected from
    // another window, or by a reload): only the focused grid says so.
    if (hasFocus())
        QTableView::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void ChartGrid::CopyCurrentCell() {
    if (grid_.Row() < grid_.RowCount())
        QGuiApplication::clipboard()->setText(DisplayCell(grid_.Cell(grid_.Col(), grid_.Row())));
}

void ChartGrid::ShowCell(int col, int gridRow) {
    const QModelIndex cell = tableModel_->index(tableModel_->ViewRow(gridRow), col);
    if (cell.isValid())
        scrollTo(cell);
}

void ChartGrid::ApplyRowHeights() {
    // Every row has the default height except a former header row, which keeps
    // its 5 pixels once the fixed row has been lost.
    const int rows = tableModel_->rowCount();
    for (int viewRow = 0; viewRow < rows; ++viewRow) {
        const int height = tableModel_->GridRow(viewRow) == 0 ? kFixedRowHeight + kGridLine
                                                              : kRowHeight + kGridLine;
        if (rowHeight(viewRow) != height)
            setRowHeight(viewRow, height);
    }
}

QRect ChartGrid::CellRect(int col, int gridRow) const {
    return visualRect(tableModel_->index(tableModel_->ViewRow(gridRow), col));
}

bool ChartGrid::CellAt(QPoint viewportPos, int& col, int& gridRow) const {
    const int viewRow = rowAt(viewportPos.y());
    col = columnAt(viewportPos.x());
    if (viewRow < 0 || col < 0)
        return false;
    gridRow = tableModel_->GridRow(viewRow);
    return true;
}

void ChartGrid::Select(int col, int gridRow) {
    if (RunGuarded(window(), [&] { grid_.SelectCell(col, gridRow); }))
        ShowCell(grid_.Col(), grid_.Row());
}

void ChartGrid::Extend(int col, int gridRow) {
    if (col != grid_.AnchorCol() || gridRow != grid_.AnchorRow())
        RunGuarded(window(), [&] { grid_.ExtendSelection(col, gridRow); });
}

void ChartGrid::mousePressEvent(QMouseEvent* event) {
    pressed_ = false;
    if (!grid_.Enabled())
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    int col = 0, gridRow = 0;
    if (!CellAt(event->position().toPoint(), col, gridRow))
        return;
    pressed_ = true;
    if (event->modifiers() & Qt::ShiftModifier)
        Extend(col, gridRow);
    else
        Select(col, gridRow);
}

void ChartGrid::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove_)
        RunGuarded(window(), onMouseMove_);
    if (!pressed_ || !(event->buttons() & Qt::LeftButton) || !grid_.Enabled()) {
        dragScroll_.stop();
        return;
    }
    dragPos_ = event->position().toPoint();
    if (dragPos_.y() < 0 || dragPos_.y() >= viewport()->height()) {
        // Beyond the top or bottom edge: a row at once, then one per tick
        // while the pointer stays out there.
        if (!dragScroll_.isActive()) {
            DragScrollStep();
            dragScroll_.start();
        }
        return;
    }
    dragScroll_.stop();
    int col = 0, gridRow = 0;
    if (CellAt(dragPos_, col, gridRow))
        Extend(col, gridRow);
}

void ChartGrid::DragScrollStep() {
    const bool below = dragPos_.y() >= viewport()->height();
    if (!pressed_ || !grid_.Enabled() || (!below && dragPos_.y() >= 0)) {
        dragScroll_.stop();
        return;
    }
    QScrollBar* rows = verticalScrollBar();
    rows->setValue(rows->value() + (below ? 1 : -1));
    // The range reaches the row at the edge the pointer went past, in the
    // pointer's column (the nearest one when it is beside the cells).
    int col = columnAt(std::clamp(dragPos_.x(), 0, viewport()->width() - 1));
    if (col < 0)
        col = grid_.ColCount() - 1;  // right of the last column
    Extend(col, below ? BottomVisibleRow() : TopVisibleRow());
}

void ChartGrid::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = pressed_ && event->button() == Qt::LeftButton;
    pressed_ = false;
    dragScroll_.stop();
    if (clicked && onClick_)
        RunGuarded(window(), onClick_);
}

void ChartGrid::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click selects nothing.
}

int ChartGrid::FullyVisibleRows() const {
    return std::max(1, viewport()->height() / (kRowHeight + kGridLine));
}

int ChartGrid::TopVisibleRow() const {
    const int viewRow = rowAt(0);
    return viewRow < 0 ? grid_.FixedRows() : tableModel_->GridRow(viewRow);
}

int ChartGrid::BottomVisibleRow() const {
    const int rows = tableModel_->rowCount();
    int bottom = rowAt(0);
    if (bottom < 0)
        return grid_.FixedRows();
    while (bottom + 1 < rows &&
           rowViewportPosition(bottom + 1) + rowHeight(bottom + 1) <= viewport()->height())
        ++bottom;
    return tableModel_->GridRow(bottom);
}

void ChartGrid::keyPressEvent(QKeyEvent* event) {
    if (!grid_.Enabled()) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        // The current cell's text as the grid shows it; nothing is selected.
        event->accept();
        CopyCurrentCell();
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // Shift moves the far end of the selected range, otherwise the current cell.
    int col = shift ? grid_.AnchorCol() : grid_.Col();
    int row = shift ? grid_.AnchorRow() : grid_.Row();
    const int lastCol = grid_.ColCount() - 1;
    const int lastRow = grid_.RowCount() - 1;
    switch (event->key()) {
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_Left: --col; break;
        case Qt::Key_Right: ++col; break;
        case Qt::Key_PageUp: row = ctrl ? TopVisibleRow() : row - FullyVisibleRows(); break;
        case Qt::Key_PageDown: row = ctrl ? BottomVisibleRow() : row + FullyVisibleRows(); break;
        case Qt::Key_Home:
            col = 0;
            if (ctrl)
                row = grid_.FixedRows();
            break;
        case Qt::Key_End:
            col = lastCol;
            if (ctrl)
                row = lastRow;
            break;
        default:
            // Not a move: let the window have it (Tab, shortcuts).
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    if (lastRow < grid_.FixedRows())
        return;
    col = std::clamp(col, 0, lastCol);
    row = std::clamp(row, grid_.FixedRows(), lastRow);
    if (shift) {
        Extend(col, row);
        ShowCell(grid_.AnchorCol(), grid_.AnchorRow());
    } else if (col != grid_.Col() || row != grid_.Row()) {
        Select(col, row);
    }
}

void ChartGrid::wheelEvent(QWheelEvent* event) {
    if (!grid_.Enabled() || !hasFocus()) {
        event->ignore();
        return;
    }
    event->accept();
    const int delta = event->angleDelta().y();
    const int rowBefore = grid_.Row();
    RunGuarded(window(), [&] { grid_.Wheel(delta); });
    if (grid_.Row() != rowBefore)
        ShowCell(grid_.Col(), grid_.Row());
}

}  // namespace vantrel::ui
