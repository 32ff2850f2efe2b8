// `show`, `show --cell`, `preview` and `diff` beside the window itself: a real
// Form1 on the same charts, every cell clicked as a user clicks it, for readers
// who start afresh and readers who update.
#include <QAbstractItemModel>
#include <QImage>
#include <QListView>
#include <QTest>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "chart_case.h"
#include "form_fixture.h"
#include "publisher/diff_command.h"
#include "publisher/grid_font_widths.h"
#include "publisher/grid_text_width.h"
#include "publisher/text_output.h"
#include "publisher/window_commands.h"
#include "ui/changes_window.h"
#include "ui/grid/chart_grid.h"
#include "ui/text/byte_text.h"
#include "ui/text/display_text.h"

namespace vantrel::ui::testing {
namespace {

// How `show` prints a text the window shows, written out for each chart:
// the text itself unless it holds a character a terminal would act on.
using PrintedAs = std::map<std::string, std::string>;

std::string Printed(const PrintedAs& printed, const std::string& shown) {
    const auto escaped = printed.find(shown);
    return escaped == printed.end() ? shown : escaped->second;
}

void Labelled(std::vector<std::string>& out, const PrintedAs& printed, const std::string& label,
              const std::string& text) {
    std::string rest = text;
    if (rest.ends_with('\n')) rest.pop_back();
    for (std::size_t at = 0;;) {
        const std::size_t lf = rest.find('\n', at);
        out.push_back(label + Printed(printed, rest.substr(at, lf - at)));
        if (lf == std::string::npos) return;
        at = lf + 1;
    }
}

// How `show` prints the updating table's texts, written out: their only
// character a terminal would act on is the TAB of a line split by TABs.
std::string PrintedTabs(const QString& shown) {
    std::string printed;
    for (const char c : EncodeUtf8(shown)) {
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\t') << "a control character in " << EncodeUtf8(shown);
        printed += c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return printed;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Chart {
    const char* name;
    std::function<void(const ChartDirectory&)> write;
    PrintedAs printed;
};

const Chart kCharts[] = {
    {"sample", [](const ChartDirectory& dir) { WriteSampleChart(dir); }, {}},
    {"broken policy",
     [](const ChartDirectory& dir) {
         WriteSampleChart(dir);
         dir.Write("policy", "OS support\nFirst\nSecond\n");  // its empty line missing
     },
     {}},
    {"refused address",
     [](const ChartDirectory& dir) {
         WriteSampleChart(dir);
         dir.Write("data", "file:///etc/passwd\nAlpha\n10\n1 2 3 4 5 6 21\n");
     },
     {}},
    {"a name that would recolour a terminal",
     [](const ChartDirectory& dir) {
         WriteSampleChart(dir);
         dir.Write("data", "http://www.alpha.example/\nAl\x1b[31mpha\tX\n10\n1 2 3 4 5 6 21\n");
     },
     {{"Al\x1b[31mpha\tX", R"(Al\x1b[31mpha\tX)"}}},
};

class ShowMatchesWindow : public FormTest {
protected:
    // What the window showed after a click, in the tool's labelled lines.
    std::vector<std::string> ClickInWindow(int col, int row, const PrintedAs& printed = {}) {
        documents_.events.clear();
        boxes_.seen.clear();
        QTest::mouseClick(form_->StringGrid1().viewport(), Qt::LeftButton, {}, CellCentre(col, row));
        std::vector<std::string> lines;
        if (!MemoText().empty()) Labelled(lines, printed, "details: ", MemoText());
        for (const auto& address : documents_.Opened()) lines.push_back("opens: " + address);
        for (const auto& box : boxes_.seen)
            Labelled(lines, printed, box.objectName == "VantrelErrorBox" ? "error: " : "message: ", box.text);
        return lines;
    }
    std::vector<std::string> Show(std::optional<publisher::Cell> cell) {
        std::ostringstream out, err;
        EXPECT_EQ(publisher::RunShow(dir_.Path(), {}, cell, out, err), 0);
        return Lines(out.str());
    }
};

TEST_F(ShowMatchesWindow, EveryCellAndTheGrid) {
    for (const auto& [name, write, printed] : kCharts) {
        SCOPED_TRACE(name);
        form_.reset();
        write(dir_);
        Open();
        const QAbstractItemModel& cells = *form_->StringGrid1().model();
        const auto grid = Show(std::nullopt);
        ASSERT_EQ(grid.size(), static_cast<std::size_t>(cells.rowCount() + 1));
        for (int row = 0; row < cells.rowCount(); ++row) {
            std::string shown;
            for (int col = 0; col < cells.columnCount(); ++col)
                shown += (col ? "\t" : "") + Printed(printed, EncodeUtf8(cells.data(cells.index(row, col)).toString()));
            EXPECT_EQ(grid[static_cast<std::size_t>(row + 1)], shown);
        }
        // Each cell on its own, as a fresh `show --cell` selects it.
        const int rows = cells.rowCount(), cols = cells.columnCount();
        for (int row = 1; row <= rows; ++row) {
            for (int col = 0; col < cols; ++col) {
                SCOPED_TRACE(std::to_string(col) + "," + std::to_string(row));
                form_.reset();
                Open();
                EXPECT_EQ(Show(publisher::Cell{col, row}), ClickInWindow(col, row, printed));
            }
        }
    }
}

// The picture is the main window as it draws itself, with the cell selected.
TEST_F(ShowMatchesWindow, PreviewIsTheWindowsOwnPicture) {
    WriteSampleChart(dir_);
    Open();
    ClickInWindow(2, 1);
    form_->StringGrid1().setFocus();
    QApplication::processEvents();
    const QImage window = form_->grab().toImage();
    std::ostringstream png, err;
    ASSERT_EQ(publisher::RunPreview(dir_.Path(), {}, "-", publisher::Cell{2, 1}, png, err), 0);
    const QImage picture = QImage::fromData(QByteArray::fromStdString(png.str()), "PNG");
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), window.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(err.str().starts_with("details: Demo version\n")) << err.str();
}

// Where check says the grid cuts a cell is where the window's grid cuts it:
// every prefix of each text, in a name cell and a result cell, measured by
// the window's own grid font against the room its cell gives the text; and
// the width check adds up is the font engine's, to the 1/64 pixel.
TEST_F(ShowMatchesWindow, GridCutsWhereTheWindowCuts) {
    WriteSampleChart(dir_);
    Open();
    const ChartGrid& grid = form_->StringGrid1();
    EXPECT_EQ(grid.font().family().toStdString(), publisher::grid_font::kFamily);
    EXPECT_EQ(grid.font().pixelSize(), publisher::grid_font::kPixelSize);
    const QFontMetricsF metrics(grid.font(), &form_->StringGrid1());
    constexpr int kInset = 2;  // the cell delegate draws its text so far in
    const std::string texts[] = {
        "Alpha Keys Pro Keystroke Recorder, Professional Edition for Windows (2026)",
        "AVAVAV To Yo LT Ta WAVE Tyrol \"quoted\" (kerned pairs) AVAVAVAVAVAVAVAVAV",
        "Caf\xC3\xA9 \xC3\x85ngstr\xC3\xB6m \xC5\x81\xC3\xB3" "d\xC5\xBA \xC2\xBFQu\xC3\xA9? \xE2\x80\x9C" "fi\xE2\x80\x9D "
        "\xE2\x80\x94 \xE2\x82\xAC" "10 \xE2\x84\xA2 na\xC3\xAFve",
        "\xD0\x9A\xD0\xBB\xD0\xB0\xD0\xB2\xD0\xB8\xD0\xB0\xD1\x82\xD1\x83\xD1\x80\xD0\xBD\xD1\x8B\xD0\xB9 "
        "\xCE\xA0\xCF\x81\xCF\x8C\xCE\xB3\xCF\x81\xCE\xB1\xCE\xBC\xCE\xBC\xCE\xB1 \xD0\xBC\xD0\xBE\xD0\xBD\xD0\xB8"
        "\xD1\x82\xD0\xBE\xD1\x80 \xD0\x9F\xD1\x80\xD0\xBE",
        "Win\xE9 Caf\x96 \x93Latin\x94 one byte a character, as Windows-1252 shows it, \x85 \x80",
        "Zero\xE2\x80\x8Bwidth\xE2\x80\x8F marks \xE2\x80\xAE" "and\xE2\x80\xAC controls \x1B[31m left in or out",
        "10000000000", "1,234.56", "99%", "\xE2\x80\x94\xE2\x80\x94\xE2\x80\x94",
    };
    for (const std::string& text : texts) {
        for (std::size_t length = 1; length <= text.size(); ++length) {
            const std::string cell = text.substr(0, length);
            QString shown = DisplayCell(cell);
            while (shown.endsWith(QChar(u' ')) || shown.endsWith(QChar(u'\t'))) shown.chop(1);
            const auto width = static_cast<std::int64_t>(qRound(metrics.horizontalAdvance(shown) * 64));
            SCOPED_TRACE(publisher::ForTerminal(cell));
            std::u32string drawn = publisher::GridCellText(cell);
            while (drawn.ends_with(U' ') || drawn.ends_with(U'\t')) drawn.pop_back();
            EXPECT_EQ(publisher::GridTextWidth(drawn), width);
            for (const int col : {0, 3}) {
                const std::int64_t room = (grid.CellRect(col, 1).width() - kInset) * 64;
                EXPECT_EQ(publisher::GridTextRoom(col), room);
                EXPECT_EQ(publisher::GridCut(col, cell).has_value(), width > room) << col;
            }
        }
    }
}

// Readers who update, a pair of charts a row (tests/data/publisher/updating:
// the chart being served, then the new one, each as the files that differ
// from the base chart): every kind of short or oddly separated line.
class UpdatingReaderMatchesWindow : public ShowMatchesWindow {
protected:
    // The chart's files under the viewer's names in dir_, as an Update leaves them.
    void PutInPlace(const support::TempDir& chart) {
        for (const char* name : {"data", "policy", "version"}) {
            const std::filesystem::path file = chart.Dir() / (std::string(name) + ".dat");
            std::filesystem::remove(dir_.Dir() / name);
            if (std::filesystem::exists(file)) dir_.Write(name, support::ReadFile(file));
        }
    }
    // Form1 started on the served chart, then reloaded on the new one as an
    // Update ends; the boxes the reload showed are boxes_.seen.
    void StartThenUpdate() {
        form_.reset();
        PutInPlace(served_);
        Open();
        PutInPlace(new_);
        boxes_.seen.clear();
        form_->ReadAll();
    }
    std::vector<std::string> ShowUpdated(std::optional<publisher::Cell> cell, std::vector<std::string>* said = nullptr) {
        std::ostringstream out, err;
        EXPECT_EQ(publisher::RunShow(new_.Path(), served_.Path(), cell, out, err), 0);
        if (said) *said = Lines(err.str());
        return Lines(out.str());
    }
    // A row of the window's grid (0: the first program's), as show --served
    // prints it; kept: the columns to mark as kept from the chart before.
    static std::string ShownRow(const QAbstractItemModel& cells, int row, const std::set<int>& kept = {}) {
        std::string shown;
        for (int col = 0; col < cells.columnCount(); ++col)
            shown += (col ? "\t" : "") + PrintedTabs(cells.data(cells.index(row, col)).toString()) +
                     (kept.contains(col) ? publisher::kKeptMark : "");
        return shown;
    }

    support::TempDir served_{"vantrel-served"}, new_{"vantrel-new"};
};

std::vector<std::string> UpdatingPairs() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(support::TestDataPath("publisher/updating")))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(UpdatingReaderMatchesWindow, ShowPreviewAndDiffAfterARealReload) {
    for (const std::string& pair : UpdatingPairs()) {
        SCOPED_TRACE(pair);
        for (const auto* folder : {&served_, &new_})
            for (const auto& entry : std::filesystem::directory_iterator(folder->Dir())) std::filesystem::remove(entry);
        publisher_test::AssembleChart("publisher/updating/" + pair + "/served", served_);
        publisher_test::AssembleChart("publisher/updating/" + pair + "/new", new_);

        // What a window started afresh on the new chart shows: the cells the
        // updated window shows otherwise are kept from the chart before.
        form_.reset();
        PutInPlace(new_);
        Open(false);
        const QAbstractItemModel& freshCells = *form_->StringGrid1().model();
        std::vector<std::vector<QString>> fresh(static_cast<std::size_t>(freshCells.rowCount()));
        for (int row = 0; row < freshCells.rowCount(); ++row)
            for (int col = 0; col < freshCells.columnCount(); ++col)
                fresh[static_cast<std::size_t>(row)].push_back(freshCells.data(freshCells.index(row, col)).toString());

        StartThenUpdate();
        std::vector<std::string> reloadSaid;
        for (const auto& box : boxes_.seen) Labelled(reloadSaid, {}, "message: ", box.text);
        const QAbstractItemModel& cells = *form_->StringGrid1().model();
        std::vector<std::string> said;
        const auto grid = ShowUpdated(std::nullopt, &said);
        EXPECT_EQ(said, reloadSaid);
        ASSERT_EQ(grid.size(), static_cast<std::size_t>(cells.rowCount() + 1));
        std::vector<std::pair<int, int>> kept;  // (grid row, col)
        for (int row = 0; row < cells.rowCount(); ++row) {
            std::set<int> keptHere;
            for (int col = 0; col < cells.columnCount(); ++col) {
                const QString freshText = static_cast<std::size_t>(row) < fresh.size() ? fresh[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] : QString();
                if (cells.data(cells.index(row, col)).toString() != freshText) {
                    keptHere.insert(col);
                    kept.emplace_back(row + 1, col);
                }
            }
            EXPECT_EQ(grid[static_cast<std::size_t>(row + 1)], ShownRow(cells, row, keptHere));
        }

        // diff's lines are What changed's, then one for each cell a reader
        // who starts afresh sees otherwise.
        std::ostringstream out;
        publisher::RunDiff(served_.Path(), new_.Path(), out);
        const auto diff = Lines(out.str());
        ASSERT_TRUE(QTest::qWaitFor([this] { return form_->WhatChangedUpToDate(); }, 20000));
        const QAbstractItemModel& lines = *form_->WhatChanged().Lines().model();
        std::vector<std::string> listed;
        if (form_->WhatChangedEnabled())
            for (int i = 0; i < lines.rowCount(); ++i) listed.push_back(PrintedTabs(lines.index(i, 0).data().toString()));
        ASSERT_GE(diff.size(), listed.size());
        std::vector<std::string> changes(diff.begin(), diff.begin() + static_cast<long>(listed.size()));
        std::sort(changes.begin(), changes.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(changes, listed);
        for (const auto& [row, col] : kept) {
            const std::string name = PrintedTabs(cells.data(cells.index(row - 1, 0)).toString());
            const std::string what = col == 0 ? "the name" : chart::GridModel::kColumnHeadings[static_cast<std::size_t>(col)];
            const std::string line = name + ": " + what + " '" +
                                     PrintedTabs(cells.data(cells.index(row - 1, col)).toString()) +
                                     "', kept from the chart before";
            EXPECT_TRUE(std::any_of(diff.begin(), diff.end(), [&](const std::string& l) { return l.starts_with(line); }))
                << line << "\n" << ::testing::PrintToString(diff);
        }
        for (auto line = diff.begin() + static_cast<long>(listed.size()); line != diff.end(); ++line)
            EXPECT_NE(line->find("readers who"), std::string::npos) << *line;

        // Each cell on its own, as `show --served --cell` selects it.
        const int rows = cells.rowCount(), cols = cells.columnCount();
        for (int row = 1; row <= rows; ++row) {
            for (int col = 0; col < cols; ++col) {
                SCOPED_TRACE(std::to_string(col) + "," + std::to_string(row));
                StartThenUpdate();
                EXPECT_EQ(ShowUpdated(publisher::Cell{col, row}), ClickInWindow(col, row));
            }
        }

        // The picture is the updated window's own, a result selected.
        StartThenUpdate();
        ClickInWindow(6, 2);
        form_->activateWindow();  // again, after the reload's boxes
        form_->StringGrid1().setFocus();
        QApplication::processEvents();
        const QImage window = form_->grab().toImage();
        std::ostringstream png, err;
        ASSERT_EQ(publisher::RunPreview(new_.Path(), served_.Path(), "-", publisher::Cell{6, 2}, png, err), 0);
        const QImage picture = QImage::fromData(QByteArray::fromStdString(png.str()), "PNG");
        EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), window.convertToFormat(QImage::Format_RGB32));
    }
}

}  // namespace
}  // namespace vantrel::ui::testing
