// What changed's lines as a list model, each line made when the view asks for it.
#include "ui/changes_list_model.h"

#include <QFont>

namespace vantrel::ui {

void ChangesListModel::SetChanges(std::shared_ptr<const chart::ChartChanges> changes) {
    beginResetModel();
    changes_ = std::move(changes);
    endResetModel();
}

int ChangesListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !changes_ ? 0 : static_cast<int>(changes_->Lines());
}

QVariant ChangesListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !changes_ || index.row() >= rowCount()) return {};
    const auto line = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromUtf8(changes_->Printed(line));
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return QString::fromUtf8(changes_->Alone(line));
        case Qt::FontRole:
            if (changes_->IsHeading(line)) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

}  // namespace vantrel::ui
