// Draws one grid cell.
#include "ui/grid/cell_delegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <algorithm>

namespace vantrel::ui {

CellDelegate::CellDelegate(chart::GridModel& grid, QAbstractItemView& view)
    : QStyledItemDelegate(&view), grid_(grid), view_(view) {}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const int col = index.column();
    const int row = index.row() + grid_.FixedRows();
    const bool current = col == grid_.Col() && row == grid_.Row();
    const bool inRange = col >= std::min(grid_.Col(), grid_.AnchorCol()) &&
                         col <= std::max(grid_.Col(), grid_.AnchorCol()) &&
                         row >= std::min(grid_.Row(), grid_.AnchorRow()) &&
                         row <= std::max(grid_.Row(), grid_.AnchorRow());
    const bool focused = view_.hasFocus();
    const bool highlighted = inRange && !(current && focused);

    // A disabled grid is drawn as an enabled one: the Active colours always.
    const QPalette& palette = option.palette;
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, palette.color(QPalette::Active,
                                                 highlighted ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(QPalette::Active,
                                  highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (current && focused) {
        // A dotted focus frame, drawn whatever the style's own focus policy.
        QPen dots(palette.color(QPalette::Active, QPalette::Text), 1, Qt::DotLine);
        painter->setPen(dots);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

}  // namespace vantrel::ui
