// The grid's 5-pixel fixed row, where only column borders are dragged.
#include "ui/grid/header_row.h"

#include <QPainter>
#include <QStyleOption>

namespace vantrel::ui {

HeaderRow::HeaderRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionsMovable(false);
    setStretchLastSection(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(1);
}

QSize HeaderRow::sizeHint() const { return QSize(length(), minimumHeight()); }

void HeaderRow::paintSection(QPainter* painter, const QRect& rect, int) const {
    QStyleOption option;
    option.initFrom(this);
    const QColor line = QColor::fromRgba(static_cast<QRgb>(
        style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    painter->fillRect(rect, palette().color(QPalette::Active, QPalette::Button));
    painter->setPen(line);
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
}

}  // namespace vantrel::ui
