#pragma once
// What changed's lines as a list model: each line made from the chart core's
// changes when the view asks for it (only the lines on screen), so a list of
// thousands costs nothing to fill and copies no chart text.
#include <QAbstractListModel>
#include <memory>

#include "chart/diff/chart_changes.h"

namespace vantrel::ui {

class ChangesListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // None: an empty list.
    void SetChanges(std::shared_ptr<const chart::ChartChanges> changes);
    const std::shared_ptr<const chart::ChartChanges>& Changes() const { return changes_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    // The line as shown (a change indented under its program's heading, the
    // heading bold); read alone by a screen reader and as a tooltip, with its
    // heading.
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::shared_ptr<const chart::ChartChanges> changes_;
};

}  // namespace vantrel::ui
