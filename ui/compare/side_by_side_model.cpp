// "Side by side": the shortlisted programs as columns for Qt's item views.
#include "ui/compare/side_by_side_model.h"

#include <QFont>

#include "ui/compare/view_text.h"

namespace vantrel::ui {

QColor DiffersTint(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base), highlight = palette.color(QPalette::Highlight);
    constexpr double kShare = 0.22;
    const auto mix = [](int a, int b) { return static_cast<int>(a + (b - a) * kShare + 0.5); };
    return QColor(mix(base.red(), highlight.red()), mix(base.green(), highlight.green()),
                  mix(base.blue(), highlight.blue()));
}

SideBySideModel::SideBySideModel(QObject* parent) : QAbstractTableModel(parent) {}

void SideBySideModel::Show(const chart::CompareModel* core, bool differencesOnly) {
    beginResetModel();
    core_ = core;
    sideBySide_.reset();
    rows_.clear();
    if (core_ && core_->Shortlist().size() >= 2) {
        sideBySide_ = std::make_unique<chart::SideBySide>(core_->Chart(), core_->Shortlist());
        rows_ = sideBySide_->Rows(differencesOnly);
    }
    endResetModel();
}

void SideBySideModel::SetPalette(const QPalette& palette) {
    tint_ = DiffersTint(palette);
    text_ = palette.color(QPalette::Text);
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int SideBySideModel::ProgramIn(int column) const {
    if (!sideBySide_ || column < kFirstProgramColumn || column - kFirstProgramColumn >= sideBySide_->Columns()) return -1;
    return sideBySide_->ProgramIn(column - kFirstProgramColumn);
}

int SideBySideModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !Enough() ? 0 : static_cast<int>(rows_.size());
}

int SideBySideModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFirstProgramColumn + (sideBySide_ ? sideBySide_->Columns() : 0);
}

QVariant SideBySideModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const chart::SideBySideRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        const std::string_view text = index.column() == kLabelColumn ? sideBySide_->Label(row)
                                      : index.column() == kMarkColumn ? chart::SideBySide::Mark(row)
                                                                       : sideBySide_->Text(row, index.column() - kFirstProgramColumn);
        return role == Qt::DisplayRole ? ViewText(text) : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case Qt::FontRole:
        if (row.subCriterion == 0) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::BackgroundRole:
        return row.differs && tint_.isValid() ? QVariant(tint_) : QVariant();
    case Qt::ForegroundRole:
        return row.differs && text_.isValid() ? QVariant(text_) : QVariant();
    default:
        return {};
    }
}

QVariant SideBySideModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole))
        return {};
    if (section == kLabelColumn) return QStringLiteral("Test");
    if (section == kMarkColumn) return QStringLiteral("Differs");
    const int p = ProgramIn(section);
    if (p < 0) return {};
    const std::string label = core_->Chart().ProgramLabel(p);
    return role == Qt::DisplayRole ? ViewText(label) : QString::fromStdString(label);
}

}  // namespace vantrel::ui
