#pragma once
// The grid's fixed row: 5 pixels high, no text (the headings picture above the
// grid names the columns). Dragging a column border inside it resizes the
// column; pressing anywhere else in it does nothing.
#include <QHeaderView>

namespace vantrel::ui {

class HeaderRow : public QHeaderView {
    Q_OBJECT
public:
    explicit HeaderRow(QWidget* parent);
    // The fixed height the grid gives it: the row has no text, so the
    // sections are not measured in a font (each measure was a font lookup).
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace vantrel::ui
