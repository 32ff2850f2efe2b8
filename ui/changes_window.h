#pragma once
// What changed (Options/What changed…): the window that lists what the reload
// history tells, a heading line a program and its changes under it.
#include <QDialog>
#include <functional>

#include "chart/diff/reload_history.h"

class QLabel;
class QListView;

namespace vantrel::ui {

class ChangesListModel;
class OffThread;

// A top-level window beside the main window (not kept above it), not modal,
// hidden rather than destroyed. Choosing a line (a click, or Enter) selects
// the cell it leads to, every time; moving through the lines selects nothing.
class ChangesWindow : public QDialog {
    Q_OBJECT
public:
    ChangesWindow();

    // Draws what the history tells after a reload.
    void Draw(const chart::ReloadHistory::Told& told);
    // Called with the cell a chosen line leads to: col 1 to 7; row from 1,
    // or 0 for a test's line (that test in the reader's row).
    std::function<void(int col, int row)> onSelectCell;

    QListView& Lines() { return *lines_; }
    QString Heading() const;

    // As wide as the main window it opens beside, tall enough for a dozen lines.
    QSize sizeHint() const override { return {762, 300}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(int line);
    // Puts the lines selected (Ctrl+C; Ctrl+A selects them all) on the
    // clipboard as diff prints them, made off the window's thread: at the caps
    // they are tens of megabytes.
    void CopySelected();

    QLabel* heading_;
    QListView* lines_;
    ChangesListModel* model_;
    OffThread* offThread_;
};

}  // namespace vantrel::ui
