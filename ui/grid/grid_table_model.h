#pragma once
// Presents the chart grid model to Qt's item views (and through them to screen
// readers). The fixed row is the view's header; view row v is grid row
// v + FixedRows().
#include <QAbstractTableModel>

#include "chart/tables/grid_model.h"

namespace vantrel::ui {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(chart::GridModel& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int GridRow(int viewRow) const { return viewRow + grid_.FixedRows(); }
    int ViewRow(int gridRow) const { return gridRow - grid_.FixedRows(); }

    // The grid model has changed: tell the views.
    void Refresh();

private:
    chart::GridModel& grid_;
    int shownRows_;
    int shownFixedRows_;
};

}  // namespace vantrel::ui
