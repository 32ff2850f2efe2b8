// The sort and filter proxy over "Programs", asking the compare model.
#include "ui/compare/programs_proxy.h"

namespace vantrel::ui {

ProgramsProxy::ProgramsProxy(QObject* parent) : QSortFilterProxyModel(parent) {
    // The core decides what to re-sort and re-filter; a check box changing is neither.
    setDynamicSortFilter(false);
}

void ProgramsProxy::Refilter() { invalidateRowsFilter(); }

void ProgramsProxy::sort(int column, Qt::SortOrder order) {
    // Qt's proxy would turn the grid's order around for a descending sort by no column.
    if (column < 0) order = Qt::AscendingOrder;
    if (core_)
        core_->SortBy(column, order == Qt::DescendingOrder ? chart::SortOrder::Descending : chart::SortOrder::Ascending);
    QSortFilterProxyModel::sort(column, order);
    emit headerDataChanged(Qt::Horizontal, 0, chart::kCompareColumns - 1);
}

QVariant ProgramsProxy::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::AccessibleDescriptionRole && orientation == Qt::Horizontal && section == sortColumn() && section >= 0)
        return sortOrder() == Qt::DescendingOrder ? QStringLiteral("sorted descending") : QStringLiteral("sorted ascending");
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

// The core's order made total by the grid's order, so that the proxy's result
// does not hang on the order it sorted before.
bool ProgramsProxy::Precedes(int a, int b, chart::SortOrder order) const {
    const int column = sortColumn();
    if (core_->Before(column, order, a, b)) return true;
    return !core_->Before(column, order, b, a) && a < b;
}

bool ProgramsProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (!core_) return left.row() < right.row();
    // Qt sorts descending by asking lessThan(right, left): the descending
    // order is asked for with the two swapped, so what has nothing to sort by
    // still comes last.
    if (sortOrder() == Qt::DescendingOrder) return Precedes(right.row(), left.row(), chart::SortOrder::Descending);
    return Precedes(left.row(), right.row(), chart::SortOrder::Ascending);
}

bool ProgramsProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return !core_ || (sourceRow < core_->Chart().Programs() && core_->Kept(sourceRow));
}

}  // namespace vantrel::ui
