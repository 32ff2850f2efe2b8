// "Programs": the compare model's programs as Qt's item views see them.
#include "ui/compare/programs_model.h"

#include "ui/compare/view_text.h"

namespace vantrel::ui {

ProgramsModel::ProgramsModel(QObject* parent) : QAbstractTableModel(parent) {}

void ProgramsModel::SetCore(chart::CompareModel* core) {
    beginResetModel();
    core_ = core;
    endResetModel();
}

int ProgramsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !core_ ? 0 : core_->Chart().Programs();
}

int ProgramsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : chart::kCompareColumns;
}

QVariant ProgramsModel::data(const QModelIndex& index, int role) const {
    if (!core_ || !index.isValid()) return {};
    const int p = index.row(), column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return ViewText(core_->Chart().Cell(p, column));
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(core_->Chart().Cell(p, column));
    case Qt::CheckStateRole:
        if (column == chart::kNameColumn) return core_->Shortlisted(p) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::AccessibleDescriptionRole:
        if (column == chart::kNameColumn) return core_->Shortlisted(p) ? QStringLiteral("shortlisted") : QString();
        return {};
    default:
        return {};
    }
}

bool ProgramsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!core_ || !index.isValid() || index.column() != chart::kNameColumn || role != Qt::CheckStateRole) return false;
    return SetShortlisted(index.row(), value.toInt() == Qt::Checked);
}

bool ProgramsModel::SetShortlisted(int p, bool shortlisted) {
    if (!core_ || p < 0 || p >= rowCount() || core_->Shortlisted(p) == shortlisted) return false;
    const std::string refused = core_->SetShortlisted(p, shortlisted);
    if (!refused.empty()) {
        emit shortlistRefused(QString::fromStdString(refused));
        return false;
    }
    emit dataChanged(index(p, chart::kNameColumn), index(p, chart::kNameColumn),
                     {Qt::CheckStateRole, Qt::AccessibleDescriptionRole});
    emit shortlistChanged();
    return true;
}

QVariant ProgramsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= chart::kCompareColumns) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(chart::CompareChart::ColumnHeading(section));
    // A click on a heading sorts names from A and results from the highest.
    if (role == Qt::InitialSortOrderRole)
        return section == chart::kNameColumn ? Qt::AscendingOrder : Qt::DescendingOrder;
    return {};
}

Qt::ItemFlags ProgramsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == chart::kNameColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

}  // namespace vantrel::ui
