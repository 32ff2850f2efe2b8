#pragma once
// Draws one grid cell: its text on one line, left-aligned, 2 pixels in from
// the left and top, clipped to the cell; the selected range highlighted, and
// the current cell with a focus frame while the grid has the focus.
#include <QStyledItemDelegate>

#include "chart/tables/grid_model.h"

class QAbstractItemView;

namespace vantrel::ui {

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CellDelegate(chart::GridModel& grid, QAbstractItemView& view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    chart::GridModel& grid_;
    QAbstractItemView& view_;
};

}  // namespace vantrel::ui
