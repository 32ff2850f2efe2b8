#include "ui/grid/grid_table_model.h"

#include <array>

#include "ui/text/display_text.h"

namespace vantrel::ui {
namespace {

// What the headings picture above the grid says, for screen readers.
constexpr std::array<const char*, chart::GridModel::kColCount> kColumnHeadings = {
    "", "OS support", "Demo version", "Interception", "Log viewing",
    "Security", "Network options", "Total",
};

}  // namespace

GridTableModel::GridTableModel(chart::GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      shownRows_(grid.RowCount()),
      shownFixedRows_(grid.FixedRows()) {}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return std::max(0, grid_.RowCount() - grid_.FixedRows());
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // Drawn as plain text on one line; no tooltip, which could be read as markup.
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return DisplayCell(grid_.Cell(index.column(), GridRow(index.row())));
    return {};
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < grid_.ColCount())
        return QString::fromLatin1(kColumnHeadings[static_cast<size_t>(section)]);
    if (orientation == Qt::Vertical)
        return QString::number(GridRow(section));
    return {};
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void GridTableModel::Refresh() {
    if (grid_.RowCount() != shownRows_ || grid_.FixedRows() != shownFixedRows_) {
        beginResetModel();
        shownRows_ = grid_.RowCount();
        shownFixedRows_ = grid_.FixedRows();
        endResetModel();
        return;
    }
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1), {Qt::DisplayRole});
}

}  // namespace vantrel::ui
