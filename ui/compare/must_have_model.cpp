// "Must have": the tests and their sub-criteria as checkable tree rows.
#include "ui/compare/must_have_model.h"

#include "ui/compare/view_text.h"

namespace vantrel::ui {
namespace {

constexpr int kTestRole = Qt::UserRole;
constexpr int kSubCriterionRole = Qt::UserRole + 1;

Qt::CheckState QtState(chart::CheckState state) {
    switch (state) {
    case chart::CheckState::Checked: return Qt::Checked;
    case chart::CheckState::PartlyChecked: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

QStandardItem* NewItem(const std::string& text, int test, int subCriterion, bool checkable) {
    auto* item = new QStandardItem(ViewText(text));
    item->setData(QString::fromStdString(text), Qt::AccessibleTextRole);
    item->setData(QString::fromStdString(text), Qt::ToolTipRole);
    item->setEditable(false);
    item->setData(test, kTestRole);
    item->setData(subCriterion, kSubCriterionRole);
    item->setCheckable(checkable);
    return item;
}

}  // namespace

MustHaveModel::MustHaveModel(QObject* parent) : QStandardItemModel(parent) {
    setHorizontalHeaderLabels({QStringLiteral("Must have")});
    connect(this, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) { Checked(item); });
}

void MustHaveModel::SetCore(chart::CompareModel* core) {
    showing_ = true;
    core_ = core;
    removeRows(0, rowCount());
    if (core_) {
        const chart::CompareChart& chart = core_->Chart();
        for (int test = 1; test <= chart::kTestCount; ++test) {
            // A test without sub-criteria, or whose count is no number, has none to check.
            QStandardItem* testItem = NewItem(chart.TestLabel(test), test, 0, chart.SubCriteria(test) > 0);
            for (int m = 1; m <= chart.SubCriteria(test); ++m)
                testItem->appendRow(NewItem(chart.Test(test).subCriteria[static_cast<std::size_t>(m - 1)], test, m, true));
            appendRow(testItem);
        }
    }
    showing_ = false;
    ShowChecks();
}

QStandardItem* MustHaveModel::Item(int test, int subCriterion) const {
    QStandardItem* testItem = item(test - 1);
    if (!testItem || subCriterion == 0) return testItem;
    return testItem->child(subCriterion - 1);
}

void MustHaveModel::Checked(QStandardItem* item) {
    if (showing_ || !core_ || !item->isCheckable()) return;
    const int test = item->data(kTestRole).toInt(), m = item->data(kSubCriterionRole).toInt();
    const bool checked = item->checkState() != Qt::Unchecked;
    if (m == 0) {
        // A test partly checked and clicked becomes checked: all its sub-criteria.
        if (QtState(core_->TestMustHave(test)) == item->checkState()) return;
        core_->SetTestMustHave(test, checked);
    } else {
        if (core_->MustHave(test, m) == checked) return;
        core_->SetMustHave(test, m, checked);
    }
    ShowChecks();
    emit mustHavesChanged();
}

void MustHaveModel::ShowChecks() {
    if (!core_) return;
    showing_ = true;
    for (int test = 1; test <= chart::kTestCount; ++test) {
        QStandardItem* testItem = Item(test);
        if (!testItem || !testItem->isCheckable()) continue;
        testItem->setCheckState(QtState(core_->TestMustHave(test)));
        for (int m = 1; m <= testItem->rowCount(); ++m)
            Item(test, m)->setCheckState(core_->MustHave(test, m) ? Qt::Checked : Qt::Unchecked);
    }
    showing_ = false;
}

}  // namespace vantrel::ui
