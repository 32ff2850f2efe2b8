#pragma once
// Unit1 holds TForm1, the main window (its one instance is Form1; the names are
// the system's own): the grid under the banner and the column headings, the
// details panel, the Update button, the status and progress bars, the menu.
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "chart/chart_form.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vantrel::ui {

class ChangesWindow;
class ChartGrid;
class CompareWindow;
class EventLoopWait;
class HistoryWorker;
class MemoDetailsPanel;
class SideWindowPlacement;
class TOKRightDlg;

// Memo1's text before any cell has been selected (note the backquote and the
// space that ends the first line).
inline constexpr const char* kMemo1InitialText =
    "Select the cell to view testing details or click on the program`s name in \r\n"
    "chart to learn more about the selected keylogger.";

// The banner picture that reports the pointer's moves and clicks.
class BannerImage : public QWidget {
    Q_OBJECT
public:
    BannerImage(const QImage& picture, QWidget* parent);
    const QImage& Picture() const { return picture_; }
    std::function<void(int x, int y)> onMouseMove;
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool pressed_ = false;
};

// Ports for Form1 to use instead of the desktop's own (message boxes,
// xdg-open); those left null are the desktop's. The desktop's opener reports
// its failures through the message port.
struct FormPorts {
    chart::MessagePort* messages = nullptr;
    chart::DocumentPort* documents = nullptr;
    // True once the program is ending (the session asked it to): a reload
    // waiting for the chart folder stops.
    std::function<bool()> programEnding = {};
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 762;
    static constexpr int kClientHeight = 380;

    using Ports = FormPorts;

    // Loads the chart (FormCreate), with any message boxes, before the window
    // is first shown.
    // chartDirectory: where "data", "policy" and "version" are read from.
    // unfinishedUpdate: start-up's message about an update it could not
    // complete; when given, it is shown instead of loading the chart (the
    // files may mix two charts) and the grid stays disabled.
    explicit TForm1(std::string chartDirectory, Ports ports = {}, QWidget* parent = nullptr,
                    std::string unfinishedUpdate = {});
    // The window over a chart given as bytes (the publisher's own files): no
    // chart folder, so nothing to update.
    TForm1(const chart::ChartSnapshot& chart, Ports ports);
    ~TForm1() override;

    // The handlers, named after their control and event. The grid's
    // cell-selection handler is the chart form's own (Chart()).
    void FormCreate();
    void Exit1Click();
    void SpeedButton1Click();
    void About1Click();
    // Options/What changed…: shows what the reloads since start-up changed,
    // beside the window.
    void WhatChanged1Click();
    // Options/Compare…: the window that sorts, filters and compares the programs.
    void Compare1Click();
    void Image2MouseMove(int X, int Y);
    void Image2Click();
    void StringGrid1Click();
    void StringGrid1MouseMove();

    // The seam for the update worker.
    void SetUpdateStarter(std::function<void()> startUpdate) { startUpdate_ = std::move(startUpdate); }
    void SetProgress(int position);
    void SetGridEnabled(bool enabled);
    bool GridEnabled() const;
    void SetUpdateCommandsEnabled(bool enabled);
    // Reads the chart folder (as the folder module's protocol says, the
    // window answering meanwhile) and loads what it read. One at a time: a
    // reload asked for while one runs is merged into it, which reads again
    // once it is done.
    void ReadAll();
    void ShowMessageText(const std::string& text);

    ChangesWindow& WhatChanged() { return *changes_; }
    bool WhatChangedEnabled() const;
    // Made on the first Options/Compare…; null until then.
    CompareWindow* Compare() { return compare_.get(); }
    // False while what the last load changed is still being worked out.
    bool WhatChangedUpToDate() const;

    // The about box Help/About shows; made on first use when none is given.
    void SetAboutBox(TOKRightDlg* aboutBox) { aboutBox_ = aboutBox; }
    TOKRightDlg* AboutBox() const { return aboutBox_; }

    chart::ChartForm& Chart() { return *chart_; }
    chart::ChartTables& Tables() { return tables_; }
    chart::GridModel& GridModel() { return grid_; }
    ChartGrid& StringGrid1() { return *stringGrid1_; }
    QPlainTextEdit& Memo1() { return *memo1_; }
    chart::DocumentPort& Documents() { return *documents_; }

signals:
    // The main window has closed: the application ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The window is of fixed size: a maximize asked for anyway (the title bar
    // Qt draws itself on Wayland always has the button) is undone.
    void changeEvent(QEvent* event) override;

private:
    TForm1(std::string chartDirectory, Ports ports, QWidget* parent, std::string unfinishedUpdate,
           const chart::ChartSnapshot* given);
    void BuildControls(QWidget* client);
    void BuildMenu();
    // After each load: Options/Compare… and its window follow the chart shown.
    void ShowInCompare();
    void ReloadOnce();
    // The chart folder's three files as one chart; nothing when none was read
    // (the program is ending, or the user has been told why).
    std::optional<chart::ChartSnapshot> ReadFolder();

    chart::ChartTables tables_;
    chart::GridModel grid_;
    bool closing_ = false;  // File/Exit or the close box: a reload's wait ends
    bool reloading_ = false;
    bool reloadAgain_ = false;  // asked for while a reload ran
    std::unique_ptr<EventLoopWait> folderWait_;
    std::unique_ptr<chart::MessagePort> ownMessages_;
    std::unique_ptr<chart::DocumentPort> ownDocuments_;
    chart::MessagePort* messages_;
    chart::DocumentPort* documents_;
    std::unique_ptr<MemoDetailsPanel> details_;
    std::unique_ptr<chart::ChartForm> chart_;
    std::function<void()> startUpdate_;
    TOKRightDlg* aboutBox_ = nullptr;

    BannerImage* image2_ = nullptr;
    QLabel* image1_ = nullptr;
    QPushButton* speedButton1_ = nullptr;
    ChartGrid* stringGrid1_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QWidget* statusBar1_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    QAction* exit1_ = nullptr;
    QAction* update1_ = nullptr;
    QAction* about1_ = nullptr;
    QAction* whatChanged1_ = nullptr;
    std::unique_ptr<ChangesWindow> changes_;  // a window of its own, not the main window's child
    SideWindowPlacement* changesPlacement_ = nullptr;
    HistoryWorker* history_ = nullptr;
    QAction* compare1_ = nullptr;
    std::unique_ptr<CompareWindow> compare_;  // a top-level window of its own
    // The chart as its last load left it, before an update disabled the grid.
    std::shared_ptr<const chart::ShownChart> shown_;
};

}  // namespace vantrel::ui
