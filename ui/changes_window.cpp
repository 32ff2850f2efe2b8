#include "ui/changes_window.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "chart/tables/grid_model.h"
#include "ui/ports/message_box.h"
#include "ui/text/display_text.h"

namespace vantrel::ui {
namespace {

constexpr int kColumnRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1;

// The chart's own lines first, then each program's, in the new chart's
// order (those removed last); within a group as diff tells them.
std::vector<chart::ChartChange> Grouped(std::vector<chart::ChartChange> changes) {
    std::map<std::string, std::pair<int, std::size_t>> groups;  // program: (its row or last, first place)
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const auto& change = changes[i];
        const int place = change.program.empty() ? 0 : change.row > 0 ? change.row : chart::kMaxPrograms + 1;
        groups.emplace(change.program, std::pair{place, i});
    }
    std::stable_sort(changes.begin(), changes.end(), [&](const auto& a, const auto& b) {
        return groups.at(a.program) < groups.at(b.program);
    });
    return changes;
}

}  // namespace

ChangesWindow::ChangesWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("WhatChanged"));
    setWindowTitle(QStringLiteral("What changed"));
    setModal(false);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("Heading"));
    heading_->setTextFormat(Qt::PlainText);
    heading_->setWordWrap(true);
    lines_ = new QListWidget(this);
    lines_->setObjectName(QStringLiteral("Changes"));
    lines_->setAccessibleName(QStringLiteral("Changes"));
    lines_->setMinimumSize(420, 240);
    heading_->setBuddy(lines_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(lines_);
    connect(lines_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        const int col = item ? item->data(kColumnRole).toInt() : 0;
        // Never column 0: selecting a name opens its page.
        if (col > 0 && onSelectCell) onSelectCell(col, item->data(kRowRole).toInt());
    });
}

void ChangesWindow::SetChanges(const std::vector<chart::ChartChange>& changes, const QString& since,
                               const QString& released) {
    const QString count = changes.size() == 1 ? QStringLiteral("1 change") : QStringLiteral("%1 changes").arg(changes.size());
    QString heading = QStringLiteral("Since the chart shown at %1: %2").arg(since, count);
    if (!released.isEmpty()) heading += QStringLiteral("\nThis chart was signed by its publisher on %1.").arg(released);
    heading_->setText(heading);
    heading_->setAccessibleName(heading);
    const QSignalBlocker quiet(lines_);  // filling the list selects no cell
    lines_->clear();
    for (const chart::ChartChange& change : Grouped(changes)) {
        auto* item = new QListWidgetItem(DisplayCell(change.text), lines_);
        item->setData(kColumnRole, change.col);
        item->setData(kRowRole, change.row);
    }
    lines_->setCurrentRow(-1);
}

QString ChangesWindow::Heading() const { return heading_->text(); }

}  // namespace vantrel::ui
