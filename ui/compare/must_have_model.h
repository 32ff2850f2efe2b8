#pragma once
// "Must have" as Qt's tree views see it: the six tests, as the details panel
// names them, each with its sub-criteria, all checkable.
#include <QStandardItemModel>

#include "chart/compare/compare_model.h"

namespace vantrel::ui {

// The compare model holds what is checked; checking a test checks all its
// sub-criteria, and the test's box shows whether all, some or none are.
class MustHaveModel : public QStandardItemModel {
    Q_OBJECT
public:
    explicit MustHaveModel(QObject* parent = nullptr);

    // The tests of the core's chart, checked as the core says (it must
    // outlive its use here); resets the views.
    void SetCore(chart::CompareModel* core);

    // The item of a test (1 to 6) or of one of its sub-criteria (from 1; 0: the test's).
    QStandardItem* Item(int test, int subCriterion = 0) const;

signals:
    // The reader checked or cleared a must-have.
    void mustHavesChanged();

private:
    void Checked(QStandardItem* item);
    void ShowChecks();

    chart::CompareModel* core_ = nullptr;
    bool showing_ = false;  // the states are being set from the core
};

}  // namespace vantrel::ui
