// The What changed window: its lines drawn, chosen and copied.
#include "ui/changes_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ui/changes_list_model.h"
#include "ui/off_thread.h"

namespace vantrel::ui {
namespace {

QString DateAndTime(chart::ReloadHistory::Seconds at) {
    return QDateTime::fromSecsSinceEpoch(at).toString(QStringLiteral("'on' yyyy-MM-dd 'at' HH:mm"));
}

QString HeadingOf(const chart::ReloadHistory::Told& told) {
    const QString since = DateAndTime(told.since);
    QString heading;
    if (told.changes) {
        const std::size_t count = told.changes->Count();
        heading = QStringLiteral("Since the chart shown %1: %2").arg(since,
            count == 1 ? QStringLiteral("1 change") : QStringLiteral("%1 changes").arg(count));
        if (told.unchangedAt)
            heading += QStringLiteral("\nThe last Update, %1, changed nothing more.")
                           .arg(DateAndTime(*told.unchangedAt));
    } else if (told.unchangedAt) {
        heading = QStringLiteral("The last Update, %1, changed nothing since the chart shown %2.")
                      .arg(DateAndTime(*told.unchangedAt), since);
    }
    if (told.released) {
        const QString released = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(*told.released))
                                     .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        heading += QStringLiteral("\nThis chart was signed by its publisher on %1.").arg(released);
    }
    return heading;
}

}  // namespace

ChangesWindow::ChangesWindow()
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("WhatChanged"));
    setWindowTitle(QStringLiteral("What changed"));
    setModal(false);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("Heading"));
    heading_->setTextFormat(Qt::PlainText);
    heading_->setWordWrap(true);
    model_ = new ChangesListModel(this);
    offThread_ = new OffThread(this);
    lines_ = new QListView(this);
    lines_->setObjectName(QStringLiteral("Changes"));
    lines_->setAccessibleName(QStringLiteral("Changes"));
    lines_->setModel(model_);
    // Each line is one text line: the view lays out thousands without measuring each.
    lines_->setUniformItemSizes(true);
    lines_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lines_->setMinimumSize(300, 60);
    lines_->installEventFilter(this);
    heading_->setBuddy(lines_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(lines_, 1);
    connect(lines_, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { Choose(index.row()); });
}

void ChangesWindow::Draw(const chart::ReloadHistory::Told& told) {
    const QString heading = HeadingOf(told);
    heading_->setText(heading);
    heading_->setAccessibleName(heading);
    model_->SetChanges(told.changes);  // no line current, no cell selected
}

QString ChangesWindow::Heading() const { return heading_->text(); }

void ChangesWindow::Choose(int line) {
    const chart::ChartChanges* changes = model_->Changes().get();
    if (!changes || line < 0 || line >= model_->rowCount()) return;
    const chart::LineCell cell = changes->CellOf(static_cast<std::size_t>(line));
    // A removed program's line, or what the chart says at start: no cell shows it.
    if (cell.col > 0 && onSelectCell) onSelectCell(cell.col, cell.row);
}

void ChangesWindow::CopySelected() {
    if (!model_->Changes()) return;
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : lines_->selectionModel()->selection())
        ranges.emplace_back(range.top(), range.bottom());
    offThread_->Run<QByteArray>(
        [changes = model_->Changes(), ranges = std::move(ranges)]() mutable {
            std::sort(ranges.begin(), ranges.end());
            const auto eachLine = [&](auto&& take) {
                int next = 0;  // the first line not yet taken: ranges may overlap
                for (const auto& [top, bottom] : ranges) {
                    for (int row = std::max(top, next); row <= bottom; ++row)
                        take(changes->Printed(static_cast<std::size_t>(row)));
                    next = std::max(next, bottom + 1);
                }
            };
            // Measured first, so that tens of megabytes are never copied to grow.
            qsizetype bytes = 0;
            eachLine([&](const std::string& line) { bytes += static_cast<qsizetype>(line.size()) + 1; });
            QByteArray text;
            text.reserve(bytes);
            eachLine([&](const std::string& line) { (text += QByteArrayView(line)) += '\n'; });
            return text;
        },
        [](QByteArray text) {
            // Kept as UTF-8, decoded when pasted: half the memory of the text decoded.
            auto* copied = new QMimeData;
            copied->setData(QStringLiteral("text/plain"), text);
            QApplication::clipboard()->setMimeData(copied);
        });
}

bool ChangesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lines_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopySelected();
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (lines_->currentIndex().isValid()) Choose(lines_->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vantrel::ui
