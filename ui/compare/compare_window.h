#pragma once
// Compare (Options/Compare…): the window in which a reader sorts, filters and
// shortlists the chart's programs, sees two to five side by side, saves the
// view as CSV and prints it; the core's compare model drawn through Qt's views.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/compare/compare_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTableView;
class QTreeView;

namespace vantrel::ui {

class MustHaveModel;
class ProgramsModel;
class ProgramsProxy;
class SideBySideModel;
class SideWindowPlacement;

// Not modal, beside the main window, hidden rather than destroyed (Esc hides it).
class CompareWindow : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the window it opens beside; keep: what of the main window
    // must stay in view (the grid and details panel), in its coordinates.
    CompareWindow(QWidget& mainWindow, std::function<QRect()> keep);
    ~CompareWindow() override;

    // The chart as the grid shows it now. The first time, with the choices
    // kept in the user's settings; after that with the choices made on the
    // chart before, programs found again by who they are.
    void ShowChart(const chart::ShownChart& shown);
    // Shows the window, raised and active.
    void Open();

    // Called with the grid row of a program the reader selects.
    std::function<void(int gridRow)> onSelectProgram;
    // Asks where to save the CSV; empty: not saved. The file dialog unless set.
    std::function<QString()> chooseCsvFile;

    // Writes the view as CSV to path in one step (the file before is kept
    // until the new one is whole); a failure is told in a box.
    bool SaveCsv(const QString& path);
    // The side-by-side rows as shown, on the printer's pages.
    void Print(QPrinter& printer) const;

    QSize sizeHint() const override;

    // The parts, for tests.
    chart::CompareModel& Core() { return *core_; }
    QLineEdit& FindBox() { return *find_; }
    QComboBox& SortBy() { return *sortBy_; }
    QComboBox& SortOrderBox() { return *sortOrder_; }
    QTableView& Programs() { return *programs_; }
    ProgramsProxy& Proxy() { return *proxy_; }
    QTreeView& MustHaves() { return *mustHaves_; }
    MustHaveModel& MustHaveItems() { return *mustHaveModel_; }
    QLabel& Count() { return *count_; }
    QLabel& RuledOut() { return *ruledOut_; }
    QLabel& Notes() { return *notes_; }
    QCheckBox& DifferencesOnly() { return *differencesOnly_; }
    QTableView& SideBySide() { return *sideBySide_; }
    SideBySideModel& SideBySideRows() { return *sideBySideModel_; }
    QPushButton& SaveCsvButton() { return *saveCsv_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void SetCore(std::unique_ptr<chart::CompareModel> core, const std::vector<std::string>& notes);
    void ApplySort(int column, Qt::SortOrder order);
    void ShowSort();
    void FindChanged(const QString& text);
    void MustHavesChanged();
    void ShortlistChanged();
    void ShowSideBySide();
    void ShowCount();
    void ShowNotes(const QString& text);
    void SelectProgram(int p);
    void SaveCsvClicked();
    void PrintClicked();
    void Remember() const;

    std::unique_ptr<chart::CompareModel> core_;
    bool sorting_ = false;  // a sort is being shown: the controls' signals are its echo
    SideWindowPlacement* placement_ = nullptr;

    QLineEdit* find_ = nullptr;
    QComboBox* sortBy_ = nullptr;
    QComboBox* sortOrder_ = nullptr;
    ProgramsModel* programsModel_ = nullptr;
    ProgramsProxy* proxy_ = nullptr;
    QTableView* programs_ = nullptr;
    MustHaveModel* mustHaveModel_ = nullptr;
    QTreeView* mustHaves_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* ruledOut_ = nullptr;
    QLabel* notes_ = nullptr;
    QLabel* needsTwo_ = nullptr;
    QCheckBox* differencesOnly_ = nullptr;
    SideBySideModel* sideBySideModel_ = nullptr;
    QTableView* sideBySide_ = nullptr;
    QPushButton* saveCsv_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace vantrel::ui
