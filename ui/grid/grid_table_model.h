#pragma once
// Presents the chart grid model to Qt's item views (and through them to screen
// readers): the fixed row is the view's header, view row v is grid row
// v + FixedRows().
#include <QAbstractTableModel>

#include "chart/tables/grid_model.h"

namespace vantrel::ui {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The name column's heading, for screen readers (the headings picture
    // leaves it blank).
    static constexpr const char* kNameColumnHeading = "Program";

    explicit GridTableModel(chart::GridModel& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int GridRow(int viewRow) const { return viewRow + shownFixedRows_; }
    int ViewRow(int gridRow) const { return gridRow - shownFixedRows_; }

    // The grid model has changed: tell the views, with one reset when the
    // fixed row came or went, otherwise with the rows added or removed at the
    // end and one change of the cells' texts.
    void Refresh();

private:
    chart::GridModel& grid_;
    // The counts last told to the views, which are the ones answered, so that a
    // view that paints in the middle of a load (behind a message box) never
    // meets rows it has not heard of.
    int shownRows_;
    int shownFixedRows_;
};

}  // namespace vantrel::ui
