// The chart grid model presented to Qt's item views.
#include "ui/grid/grid_table_model.h"

#include <algorithm>

#include "ui/text/display_text.h"

namespace vantrel::ui {

GridTableModel::GridTableModel(chart::GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      shownRows_(grid.RowCount()),
      shownFixedRows_(grid.FixedRows()) {}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return std::max(0, shownRows_ - shownFixedRows_);
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
    // Neither header shows text (the headings are a picture above the grid, the
    // row numbers are hidden): these are what screen readers announce with a
    // cell, so it reads as program, test and value. The name column's
    // heading is read out only: the picture, and so the grid as shown
    // (the publisher's `show`), has none.
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::AccessibleTextRole)
        return QString::fromLatin1(kNameColumnHeading);
    if (orientation == Qt::Horizontal && section >= 0 && section < grid_.ColCount())
        return QString::fromLatin1(chart::GridModel::kColumnHeadings[static_cast<size_t>(section)]);
    if (orientation == Qt::Vertical) {
        // The row's program by its name as shown; a blank name by its row.
        const int row = GridRow(section);
        const QString name = DisplayCell(grid_.Cell(0, row));
        return name.trimmed().isEmpty() ? QString::number(row) : name;
    }
    return {};
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void GridTableModel::Refresh() {
    if (grid_.FixedRows() != shownFixedRows_) {
        // Every view row now stands for another grid row.
        beginResetModel();
        shownRows_ = grid_.RowCount();
        shownFixedRows_ = grid_.FixedRows();
        endResetModel();
        return;
    }
    // Rows come and go at the end, so the view keeps its scroll position and
    // the heights of the rows that stay.
    const int oldViewRows = rowCount();
    const int newViewRows = std::max(0, grid_.RowCount() - shownFixedRows_);
    if (newViewRows > oldViewRows) {
        beginInsertRows({}, oldViewRows, newViewRows - 1);
        shownRows_ = grid_.RowCount();
        endInsertRows();
    } else if (newViewRows < oldViewRows) {
        beginRemoveRows({}, newViewRows, oldViewRows - 1);
        shownRows_ = grid_.RowCount();
        endRemoveRows();
    }
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1), {Qt::DisplayRole});
}

}  // namespace vantrel::ui
