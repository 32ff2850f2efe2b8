// `show`, `show --cell` and `preview` beside the window itself: the window
// tests' charts are opened in a real Form1, every cell is clicked as a user
// clicks it, and what the details panel, the browser and the boxes got is
// what the tool prints for the same folder and cell; the tool's grid is the
// window's, cell for cell; its picture is the window's own grab.
#include <QAbstractItemModel>
#include <QImage>
#include <QTest>
#include <functional>
#include <sstream>

#include "form_fixture.h"
#include "publisher/text_output.h"
#include "publisher/window_commands.h"
#include "ui/grid/chart_grid.h"
#include "ui/text/byte_text.h"

namespace vantrel::ui::testing {
namespace {

void Labelled(std::vector<std::string>& out, const std::string& label, const std::string& text) {
    std::string rest = text;
    if (rest.ends_with('\n')) rest.pop_back();
    for (std::size_t at = 0;;) {
        const std::size_t lf = rest.find('\n', at);
        out.push_back(publisher::ForTerminal(label + rest.substr(at, lf - at)));
        if (lf == std::string::npos) return;
        at = lf + 1;
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::pair<const char*, std::function<void(const ChartDirectory&)>> kCharts[] = {
    {"sample", [](const ChartDirectory& dir) { WriteSampleChart(dir); }},
    {"broken policy",
     [](const ChartDirectory& dir) {
         WriteSampleChart(dir);
         dir.Write("policy", "OS support\nFirst\nSecond\n");  // its empty line missing
     }},
    {"refused address",
     [](const ChartDirectory& dir) {
         WriteSampleChart(dir);
         dir.Write("data", "file:///etc/passwd\nAlpha\n10\n1 2 3 4 5 6 21\n");
     }},
    {"a name that would recolour a terminal",
     [](const ChartDirectory& dir) {
         WriteSampleChart(dir);
         dir.Write("data", "http://www.alpha.example/\nAl\x1b[31mpha\tX\n10\n1 2 3 4 5 6 21\n");
     }},
};

class ShowMatchesWindow : public FormTest {
protected:
    // What the window showed after a click, in the tool's labelled lines.
    std::vector<std::string> ClickInWindow(int col, int row) {
        documents_.events.clear();
        boxes_.seen.clear();
        QTest::mouseClick(form_->StringGrid1().viewport(), Qt::LeftButton, {}, CellCentre(col, row));
        std::vector<std::string> lines;
        if (!MemoText().empty()) Labelled(lines, "details: ", MemoText());
        for (const auto& address : documents_.Opened()) lines.push_back("opens: " + address);
        for (const auto& box : boxes_.seen)
            Labelled(lines, box.objectName == "VantrelErrorBox" ? "error: " : "message: ", box.text);
        return lines;
    }
    std::vector<std::string> Show(std::optional<publisher::Cell> cell) {
        std::ostringstream out, err;
        EXPECT_EQ(publisher::RunShow(dir_.Path(), {}, cell, out, err), 0);
        return Lines(out.str());
    }
};

TEST_F(ShowMatchesWindow, EveryCellAndTheGrid) {
    for (const auto& [name, write] : kCharts) {
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
                shown += (col ? "\t" : "") + publisher::ForTerminal(EncodeUtf8(cells.data(cells.index(row, col)).toString()));
            EXPECT_EQ(grid[static_cast<std::size_t>(row + 1)], shown);
        }
        // Each cell on its own, as a fresh `show --cell` selects it.
        const int rows = cells.rowCount(), cols = cells.columnCount();
        for (int row = 1; row <= rows; ++row) {
            for (int col = 0; col < cols; ++col) {
                SCOPED_TRACE(std::to_string(col) + "," + std::to_string(row));
                form_.reset();
                Open();
                EXPECT_EQ(Show(publisher::Cell{col, row}), ClickInWindow(col, row));
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

}  // namespace
}  // namespace vantrel::ui::testing
