// Options/Compare…: Qt's models and proxy agree with the compare model, the
// keyboard reaches everything, choices outlive a reload and a restart, and the
// CSV, printing and the marks of differing rows are the core's.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardItem>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "chart/compare/compare_csv.h"
#include "form_fixture.h"
#include "ui/colour_contrast.h"
#include "support/test_data.h"
#include "ui/Unit2.h"
#include "ui/compare/compare_window.h"
#include "ui/compare/must_have_model.h"
#include "ui/compare/programs_proxy.h"
#include "ui/compare/side_by_side_model.h"
#include "ui/grid/chart_grid.h"

namespace vantrel::ui::testing {
namespace {

class CompareWindowTest : public FormTest {
protected:
    void SetUp() override {
        // The user's own settings are never read or written by a test.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settings_.Path()));
        QSettings().clear();
    }

    // A chart of tests/data/compare (its policy and version where it has none).
    void UseChart(const std::string& folder) {
        for (const char* name : {"data", "policy", "version"}) {
            const bool own = std::filesystem::exists(support::TestDataPath(folder + "/" + name));
            dir_.Write(name, support::TestData((own ? folder : std::string("compare")) + "/" + name));
        }
    }
    CompareWindow& OpenCompare() {
        form_->findChild<QAction*>("Compare1")->trigger();
        CompareWindow* window = form_->Compare();
        EXPECT_TRUE(window && window->isVisible());
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return *window;
    }
    // The programs "Programs" lists, top to bottom, as the core's indices.
    static std::vector<int> Listed(CompareWindow& window) {
        std::vector<int> rows;
        for (int row = 0; row < window.Proxy().rowCount(); ++row)
            rows.push_back(window.Proxy().mapToSource(window.Proxy().index(row, 0)).row());
        return rows;
    }
    static std::string Shortlist(CompareWindow& window) {
        std::string names;
        for (const int p : window.Core().Shortlist()) names += (names.empty() ? "" : "|") + window.Core().Chart().ProgramLabel(p);
        return names;
    }
    // Shortlists programs (the core's indices) as their check boxes do.
    static void Pick(CompareWindow& window, std::initializer_list<int> programs) {
        QAbstractItemModel& model = *window.Proxy().sourceModel();
        for (const int p : programs) model.setData(model.index(p, chart::kNameColumn), Qt::Checked, Qt::CheckStateRole);
    }
    static void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    std::pair<int, int> GridCell() { return {form_->GridModel().Col(), form_->GridModel().Row()}; }

    support::TempDir settings_{"vantrel-settings"};
};

// Every order, through Sort by and through the headings, under Find and the
// must-haves: the rows listed are the core's view, the count is its count.
TEST_F(CompareWindowTest, ProgramsAreTheCoreViewInEveryOrderAndFilter) {
    struct Filter {
        const char* chart;
        const char* find;
        std::vector<std::pair<int, int>> mustHaves;
    };
    const Filter filters[] = {
        {"compare/sorting", "", {}},
        {"compare/sorting", "LI", {}},  // Alpha, Charlie, Golf, Juliet, Kilo: case folded
        {"compare/must-haves", "", {{1, 2}}},
        {"compare/must-haves", "", {{1, 2}, {5, 1}}},
        {"compare/must-haves", "o", {{3, 1}}},
    };
    for (const Filter& filter : filters) {
        SCOPED_TRACE(std::string(filter.chart) + " find \"" + filter.find + "\"");
        form_.reset();
        UseChart(filter.chart);
        Open();
        CompareWindow& window = OpenCompare();
        window.FindBox().setText(QString::fromUtf8(filter.find));
        for (const auto& [test, m] : filter.mustHaves)
            window.MustHaveItems().Item(test, m)->setCheckState(Qt::Checked);
        for (const auto& [test, m] : filter.mustHaves) EXPECT_TRUE(window.Core().MustHave(test, m));
        EXPECT_EQ(window.Count().text().toStdString(), window.Core().CountText());
        EXPECT_EQ(static_cast<std::size_t>(window.Proxy().rowCount()), window.Core().View().size());
        for (int column = -1; column < chart::kCompareColumns; ++column) {
            for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                if (column < 0 && order == Qt::DescendingOrder) continue;
                SCOPED_TRACE("column " + std::to_string(column) + (order == Qt::DescendingOrder ? " descending" : ""));
                if (column % 2 == 0) {
                    window.SortBy().setCurrentIndex(window.SortBy().findData(column));
                    window.SortOrderBox().setCurrentIndex(window.SortOrderBox().findData(static_cast<int>(order)));
                } else {
                    window.Programs().horizontalHeader()->setSortIndicator(column, order);
                }
                EXPECT_EQ(Listed(window), window.Core().View());
                EXPECT_EQ(window.Programs().horizontalHeader()->sortIndicatorSection(), column);
                EXPECT_EQ(window.SortBy().currentData().toInt(), column);
                if (column >= 0) {
                    EXPECT_EQ(window.Proxy().headerData(column, Qt::Horizontal, Qt::AccessibleDescriptionRole).toString(),
                              order == Qt::DescendingOrder ? "sorted descending" : "sorted ascending");
                }
            }
        }
    }
}

// Tab from control to control, Space to check, Enter to choose, Esc to hide.
TEST_F(CompareWindowTest, EverythingByKeyboard) {
    WriteSampleChart(dir_);
    Open();
    CompareWindow& window = OpenCompare();
    window.FindBox().setFocus();
    const char* tabOrder[] = {"SortBy", "Programs", "MustHave", "DifferencesOnly", "SaveCsv", "Print", "Find"};
    for (const char* next : tabOrder) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
    }
    // Sort by Total, highest first, by the arrows.
    window.SortBy().setFocus();
    Key(Qt::Key_End);
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &window.SortOrderBox());
    Key(Qt::Key_Down);
    EXPECT_EQ(window.Core().SortColumn(), chart::kTotalResultColumn);
    EXPECT_EQ(window.Core().Order(), chart::SortOrder::Descending);
    EXPECT_EQ(Shortlist(window), "");

    // Programs: Space shortlists whichever cell is current, Enter chooses.
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &window.Programs());
    window.Programs().setCurrentIndex(window.Proxy().index(0, 3));
    Key(Qt::Key_Space);
    Key(Qt::Key_Down);
    Key(Qt::Key_Space);
    EXPECT_EQ(Shortlist(window), "Delta|Charlie");  // Totals 24, 23
    Key(Qt::Key_Space);
    EXPECT_EQ(Shortlist(window), "Delta");
    Key(Qt::Key_Return);
    EXPECT_EQ(GridCell(), std::pair(chart::kTotalResultColumn, 3));

    // Must have: Space on a test checks all its sub-criteria.
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &window.MustHaves());
    window.MustHaves().setCurrentIndex(window.MustHaveItems().Item(1)->index());
    Key(Qt::Key_Space);
    EXPECT_TRUE(window.Core().MustHave(1, 1) && window.Core().MustHave(1, 2));
    Key(Qt::Key_Down);  // First: "10", YES; Second: NO
    Key(Qt::Key_Down);
    Key(Qt::Key_Space);
    EXPECT_EQ(window.MustHaveItems().Item(1)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(window.Count().text(), "4 of 4 programs");

    Key(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());  // hidden, not gone
    EXPECT_EQ(form_->Compare(), &window);
    EXPECT_TRUE(documents_.Opened().empty());
}

// A program chosen in "Programs" or as a column of "Side by side" selects
// its Total, never its name, which would open its page.
TEST_F(CompareWindowTest, SelectingAProgramSelectsItsTotalCell) {
    UseChart("compare/sorting");
    Open();
    CompareWindow& window = OpenCompare();
    window.SortBy().setCurrentIndex(window.SortBy().findData(chart::kNameColumn));
    window.Programs().setFocus();
    for (int row = 0; row < 3; ++row) {
        window.Programs().setCurrentIndex(window.Proxy().index(row, chart::kNameColumn));
        const int p = window.Proxy().mapToSource(window.Proxy().index(row, 0)).row();
        EXPECT_EQ(GridCell(), std::pair(chart::kTotalResultColumn, window.Core().Chart().Program(p).row));
    }
    Pick(window, {4, 1, 7});
    for (int column = SideBySideModel::kFirstProgramColumn; column < SideBySideModel::kFirstProgramColumn + 3; ++column) {
        const int p = window.SideBySideRows().ProgramIn(column);
        ASSERT_GE(p, 0);
        emit window.SideBySide().horizontalHeader()->sectionClicked(column);
        EXPECT_EQ(GridCell(), std::pair(chart::kTotalResultColumn, p + 1));
    }
    EXPECT_FALSE(form_->Memo1().toPlainText().isEmpty());
    EXPECT_TRUE(documents_.Opened().empty());
}

// A reload renames Alpha, removes Bravo, readdresses Charlie and renames the
// must-have "Log encryption": the shortlist follows who each program is, and
// the window says what left; the next start finds the same choices.
TEST_F(CompareWindowTest, ReloadAndRestartKeepTheChoicesByIdentity) {
    UseChart("compare/reload/before");
    Open();
    {
        CompareWindow& window = OpenCompare();
        window.Programs().setFocus();
        for (int row = 0; row < 3; ++row) {
            window.Programs().setCurrentIndex(window.Proxy().index(row, 0));
            Key(Qt::Key_Space);
        }
        window.MustHaveItems().Item(1, 2)->setCheckState(Qt::Checked);
        window.MustHaveItems().Item(5, 1)->setCheckState(Qt::Checked);
        window.Programs().horizontalHeader()->setSortIndicator(chart::kTotalResultColumn, Qt::DescendingOrder);
        EXPECT_EQ(Shortlist(window), "Alpha|Bravo|Charlie");
        window.hide();
    }
    UseChart("compare/reload/after");
    form_->ReadAll();  // as an Update ends
    CompareWindow& window = *form_->Compare();
    EXPECT_FALSE(window.isVisible());
    const std::string afterReload = Shortlist(window);
    EXPECT_EQ(afterReload, "Alpha Plus|Charlie");
    EXPECT_EQ(window.Notes().text().toStdString(),
              "Bravo is no longer in the chart, so it left the shortlist.\n"
              "\"Log encryption\" (Security) is no longer in the chart, so it is no longer a must-have.");
    EXPECT_EQ(window.SideBySideRows().headerData(SideBySideModel::kFirstProgramColumn, Qt::Horizontal).toString(),
              "Alpha Plus");
    EXPECT_EQ(window.Proxy().rowCount(), 3);
    EXPECT_EQ(window.MustHaveItems().Item(1, 2)->checkState(), Qt::Checked);
    EXPECT_EQ(window.Programs().horizontalHeader()->sortIndicatorSection(), chart::kTotalResultColumn);

    // The next start: a new main window, its Compare made anew from the settings.
    form_.reset();
    Open();
    CompareWindow& restarted = OpenCompare();
    EXPECT_EQ(Shortlist(restarted), afterReload);
    EXPECT_TRUE(restarted.Core().MustHave(1, 2));
    EXPECT_EQ(restarted.Core().SortColumn(), chart::kTotalResultColumn);
    EXPECT_EQ(restarted.SortOrderBox().currentText(), "Descending");
    EXPECT_EQ(restarted.Notes().text(), "");
}

TEST_F(CompareWindowTest, ASixthProgramIsRefusedWithAWordWhy) {
    WriteSampleChart(dir_, 6);
    Open();
    CompareWindow& window = OpenCompare();
    window.Programs().setFocus();
    for (int row = 0; row < 6; ++row) {
        window.Programs().setCurrentIndex(window.Proxy().index(row, 0));
        Key(Qt::Key_Space);
    }
    EXPECT_EQ(window.Core().Shortlist().size(), 5u);
    EXPECT_EQ(window.Proxy().index(5, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(window.Notes().text().toStdString(), chart::kShortlistFullMessage);
    EXPECT_EQ(window.SideBySideRows().columnCount(), SideBySideModel::kFirstProgramColumn + 5);
}

// What leaves the window: the CSV of the view as shown, byte for byte the
// core's; a file that cannot be written is told, and what was there kept;
// the side-by-side rows on paper.
TEST_F(CompareWindowTest, CsvSavedIsTheCoresAndPrintingWritesPages) {
    UseChart("compare/hostile");
    Open();
    CompareWindow& window = OpenCompare();
    window.FindBox().setText("a");
    window.SortBy().setCurrentIndex(window.SortBy().findData(chart::kTotalResultColumn));
    const support::TempDir out("vantrel-csv");
    const std::string path = out.Path() + "/chart.csv";
    out.Write("chart.csv", "kept");
    window.chooseCsvFile = [&] { return QString::fromStdString(path); };
    window.SaveCsvButton().click();
    EXPECT_EQ(out.Read("chart.csv"), chart::CompareCsv(window.Core()));
    EXPECT_TRUE(window.Notes().text().startsWith("Saved ")) << window.Notes().text().toStdString();

    window.chooseCsvFile = [&] { return QString::fromStdString(out.Path() + "/missing/chart.csv"); };
    window.SaveCsvButton().click();
    ASSERT_EQ(boxes_.seen.size(), 1u);
    EXPECT_NE(boxes_.seen[0].text.find("The CSV file could not be saved as "), std::string::npos) << boxes_.seen[0].text;
    EXPECT_EQ(out.Read("chart.csv"), chart::CompareCsv(window.Core()));

    for (const int shortlisted : {0, 3}) {
        if (shortlisted) Pick(window, {0, 1, 2});
        window.DifferencesOnly().toggle();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(out.Path() + "/side-by-side.pdf"));
        window.Print(printer);
        EXPECT_EQ(out.Read("side-by-side.pdf").substr(0, 5), "%PDF-") << shortlisted << " shortlisted";
    }
}

// A row where the programs differ says so in words, and its tint keeps the
// text legible on a light palette and a dark one.
TEST_F(CompareWindowTest, DifferingRowsAreMarkedAndLegible) {
    UseChart("compare/must-haves");
    Open();
    CompareWindow& window = OpenCompare();
    Pick(window, {0, 1});  // of the answers, they differ in "Windows 11" alone
    window.DifferencesOnly().setChecked(true);
    const SideBySideModel& rows = window.SideBySideRows();
    int row = 0;
    while (row < rows.rowCount() && rows.index(row, SideBySideModel::kLabelColumn).data() != "Windows 11") ++row;
    ASSERT_LT(row, rows.rowCount());
    EXPECT_EQ(rows.index(0, SideBySideModel::kLabelColumn).data().toString(), "OS support");  // its heading
    EXPECT_EQ(rows.index(row, SideBySideModel::kMarkColumn).data().toString(), "differs");

    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
    for (const QPalette& palette : {QApplication::palette(), dark}) {
        window.setPalette(palette);
        const QModelIndex cell = rows.index(row, SideBySideModel::kFirstProgramColumn);
        const QColor background = cell.data(Qt::BackgroundRole).value<QColor>();
        EXPECT_NE(background, palette.color(QPalette::Base));
        EXPECT_GE(ContrastRatio(cell.data(Qt::ForegroundRole).value<QColor>(), background), 4.5);
    }
}

}  // namespace
}  // namespace vantrel::ui::testing
