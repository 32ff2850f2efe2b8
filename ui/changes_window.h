#pragma once
// What changed: the window that lists what the last reload that changed the
// chart changed, a line each in the words of the publisher's diff, grouped by
// program, under a heading that says since when. Opened by Options/What
// changed…, not modal, hidden rather than destroyed (Esc closes it).
// Selecting a line of a changed result or answer selects its cell in the
// grid, so the details panel shows it.
#include <QDialog>
#include <functional>
#include <vector>

#include "chart/diff/chart_changes.h"

class QLabel;
class QListWidget;

namespace vantrel::ui {

class ChangesWindow : public QDialog {
    Q_OBJECT
public:
    explicit ChangesWindow(QWidget* parent);

    // since: when the chart before was shown ("14:02"); released: the new
    // chart's release date when it is signed, or empty.
    void SetChanges(const std::vector<chart::ChartChange>& changes, const QString& since, const QString& released);
    // Called with a line's cell (column 1 to 7, row from 1) when it is selected.
    std::function<void(int col, int row)> onSelectCell;

    QListWidget& Lines() { return *lines_; }
    QString Heading() const;

private:
    QLabel* heading_;
    QListWidget* lines_;
};

}  // namespace vantrel::ui
