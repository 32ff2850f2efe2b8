#pragma once
// Qt's sort and filter proxy over "Programs", asking the compare model both the
// order and whether Find and the must-haves keep a program.
#include <QSortFilterProxyModel>

#include "chart/compare/compare_model.h"

namespace vantrel::ui {

class ProgramsProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ProgramsProxy(QObject* parent = nullptr);

    void SetCore(chart::CompareModel* core) { core_ = core; }
    // Find or the must-haves changed in the core: the rows it keeps again.
    void Refilter();

    // Sorts the core's view too (what the CSV holds); column -1: the grid's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // The sorted heading says how it is sorted, for screen readers.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    // The core's order, ties in the grid's order; what has nothing to sort by
    // comes last in both orders.
    bool Precedes(int a, int b, chart::SortOrder order) const;

    chart::CompareModel* core_ = nullptr;
};

}  // namespace vantrel::ui
