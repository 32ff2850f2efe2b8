// `show` and `show --cell` beside the window itself: the window tests' charts
// are opened in a real Form1, a cell is clicked as a user clicks it, and what
// the details panel, the browser and the boxes got is what the tool prints
// for the same folder; the grid's rows are the window's rows.
#include <QAbstractItemModel>
#include <QImage>
#include <QTest>
#include <functional>
#include <sstream>

#include "form_fixture.h"
#include "publisher/offscreen_window.h"
#include "publisher/preview_command.h"
#include "ui/grid/chart_grid.h"

namespace vantrel::ui::testing {
namespace {

struct Row {
    const char* chart;
    std::function<void(const ChartDirectory&)> write;
    publisher::Cell cell;
};

void Labelled(std::vector<std::string>& out, const std::string& label, const std::string& text) {
    std::string rest = text;
    if (rest.ends_with('\n')) rest.pop_back();
    for (std::size_t at = 0;;) {
        const std::size_t lf = rest.find('\n', at);
        out.push_back(label + rest.substr(at, lf - at));
        if (lf == std::string::npos) return;
        at = lf + 1;
    }
}

class ShowMatchesWindow : public FormTest {
protected:
    // What the window showed after the click, in the tool's labelled lines.
    std::vector<std::string> ClickInWindow(publisher::Cell cell) {
        QTest::mouseClick(form_->StringGrid1().viewport(), Qt::LeftButton, {}, CellCentre(cell.col, cell.row));
        std::vector<std::string> lines;
        if (!MemoText().empty()) Labelled(lines, "details: ", MemoText());
        for (const auto& address : documents_.opened) lines.push_back("opens: " + address);
        for (const auto& box : boxes_.seen)
            Labelled(lines, box.objectName == "VantrelErrorBox" ? "error: " : "message: ", box.text);
        return lines;
    }
};

TEST_F(ShowMatchesWindow, CellsAndGrid) {
    const auto sample = [](const ChartDirectory& dir) { WriteSampleChart(dir); };
    const auto brokenPolicy = [](const ChartDirectory& dir) {
        WriteSampleChart(dir);
        dir.Write("policy", "OS support\nFirst\nSecond\n");  // its empty line missing
    };
    const auto refusedAddress = [](const ChartDirectory& dir) {
        WriteSampleChart(dir);
        dir.Write("data", "file:///etc/passwd\nAlpha\n10\n1 2 3 4 5 6 21\n");
    };
    const Row rows[] = {
        {"sample", sample, {1, 1}},         {"sample", sample, {7, 2}},
        {"sample", sample, {0, 3}},         {"sample", sample, {6, 4}},
        {"broken policy", brokenPolicy, {1, 2}}, {"refused address", refusedAddress, {0, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.chart) + " " + std::to_string(row.cell.col) + "," + std::to_string(row.cell.row));
        form_.reset();
        documents_.opened.clear();
        boxes_.seen.clear();
        row.write(dir_);
        Open();
        boxes_.seen.clear();  // what the load said is not the click's
        publisher::OffscreenWindow tool{publisher::PublisherFolder(dir_.Path())};
        const auto toolLines = tool.Select(row.cell);
        EXPECT_EQ(toolLines, ClickInWindow(row.cell));
        EXPECT_FALSE(toolLines.empty());

        const QAbstractItemModel& cells = *form_->StringGrid1().model();
        const auto grid = tool.GridLines();
        ASSERT_EQ(grid.size(), static_cast<std::size_t>(cells.rowCount() + 1));
        EXPECT_EQ(grid[1].substr(0, grid[1].find('\t')), cells.data(cells.index(0, 0)).toString().toStdString());
    }
}

// The picture is the main window, drawn whole, with the cell selected.
TEST_F(ShowMatchesWindow, PreviewDrawsTheWindow) {
    WriteSampleChart(dir_);
    Open();
    const ChartDirectory out("vantrel-preview");
    std::ostringstream err;
    ASSERT_EQ(publisher::RunPreview(dir_.Path(), out.Path() + "/chart.png", publisher::Cell{2, 1}, err), 0);
    const QImage picture(QString::fromStdString(out.Path() + "/chart.png"));
    EXPECT_EQ(picture.size(), form_->size() * form_->devicePixelRatio());
    EXPECT_TRUE(err.str().starts_with("details: Demo version\n")) << err.str();
}

}  // namespace
}  // namespace vantrel::ui::testing
