// After a reload that changed the chart, Options/What changed… lists what
// changed in the diff's words; selecting a line of a result or an answer
// selects its cell (never a name, which opens a page). The menus are reached
// from the keyboard alone, the armed bar drawn so; the about box's links stand
// out on any palette and its address stays inside its frame.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "form_fixture.h"
#include "ui/Unit2.h"
#include "ui/changes_window.h"
#include "ui/grid/chart_grid.h"

namespace vantrel::ui::testing {
namespace {

// One reload a row: the sample chart, then the chart the row writes.
struct Reload {
    const char* name;
    void (*change)(const ChartDirectory& dir);
    const char* line;  // a line the window lists; nullptr: the item stays disabled
    int col, row;      // the cell its line selects; col 0: none
};

void ChangeData(const ChartDirectory& dir, const std::string& from, const std::string& to) {
    std::string data = dir.Read("data");
    data.replace(data.find(from), from.size(), to);
    dir.Write("data", data);
}

const Reload kReloads[] = {
    {"a changed result", [](const ChartDirectory& dir) { ChangeData(dir, "1 2 3 4 5 6 22", "1 2 3 4 5 6 26"); },
     "Bravo: Total 22 -> 26", 7, 2},
    {"a changed answer", [](const ChartDirectory& dir) { ChangeData(dir, "10 01 11 00 1x 0\r\n1 2 3 4 5 6 23", "10 01 10 00 1x 0\r\n1 2 3 4 5 6 23"); },
     "Charlie: Interception: Second YES -> NO", 3, 3},
    {"an added program", [](const ChartDirectory& dir) { WriteSampleChart(dir, 5); }, "added: Program 5 (row 5)", 0, 0},
    {"a removed program", [](const ChartDirectory& dir) { WriteSampleChart(dir, 3); }, "removed: Delta (was row 4)", 0, 0},
    {"nothing changed", [](const ChartDirectory&) {}, nullptr, 0, 0},
};

class WhatChangedTest : public FormTest {
protected:
    QAction* Item() { return form_->findChild<QAction*>("WhatChanged1"); }
    QListWidget& Lines() { return form_->WhatChanged().Lines(); }
    int Find(const QString& text) {
        for (int i = 0; i < Lines().count(); ++i)
            if (Lines().item(i)->text() == text) return i;
        return -1;
    }
};

TEST_F(WhatChangedTest, EachReloadIsListedAndItsLinesSelectTheirCells) {
    for (const Reload& reload : kReloads) {
        SCOPED_TRACE(reload.name);
        form_.reset();
        WriteSampleChart(dir_);
        Open();
        ASSERT_FALSE(Item()->isEnabled());
        reload.change(dir_);
        form_->ReadAll();  // as an Update ends
        EXPECT_TRUE(boxes_.seen.empty());
        if (!reload.line) {
            EXPECT_FALSE(Item()->isEnabled());
            continue;
        }
        ASSERT_TRUE(Item()->isEnabled());
        Item()->trigger();
        ChangesWindow& window = form_->WhatChanged();
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.isModal());
        EXPECT_TRUE(window.Heading().startsWith("Since the chart shown at ")) << window.Heading().toStdString();
        const int line = Find(reload.line);
        ASSERT_GE(line, 0) << reload.line;
        const int col = form_->GridModel().Col(), row = form_->GridModel().Row();
        Lines().setCurrentRow(line);
        if (reload.col > 0) {
            EXPECT_EQ(std::pair(form_->GridModel().Col(), form_->GridModel().Row()), std::pair(reload.col, reload.row));
            EXPECT_FALSE(MemoText().empty());
        } else {
            EXPECT_EQ(std::pair(form_->GridModel().Col(), form_->GridModel().Row()), std::pair(col, row));
        }
        EXPECT_TRUE(documents_.Opened().empty());
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());  // hidden, not gone
        EXPECT_EQ(&form_->WhatChanged(), &window);
    }
}

// F10 (or Alt alone) puts the focus on the menu bar; the arrows and Enter
// choose Options/What changed…; Esc leaves it; the captions have no mnemonic.
TEST_F(WhatChangedTest, MenusAreReachedByTheKeyboardAlone) {
    WriteSampleChart(dir_);
    Open();
    WriteSampleChart(dir_, 3);
    form_->ReadAll();
    QMenuBar* bar = form_->menuBar();
    const auto key = [](Qt::Key which) {
        QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget(),
                        which);
    };
    // The pixels of the File menu's caption in the highlight colour.
    const auto fileHighlighted = [bar] {
        const QRect file = bar->actionGeometry(bar->actions().at(0));
        const QImage drawn = bar->grab(file).toImage();
        const QRgb highlight = bar->palette().color(QPalette::Highlight).rgb();
        int pixels = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) pixels += drawn.pixel(x, y) == highlight;
        return pixels;
    };
    for (const Qt::Key enter : {Qt::Key_F10, Qt::Key_Alt}) {
        form_->StringGrid1().setFocus();
        EXPECT_EQ(fileHighlighted(), 0);
        key(enter);
        ASSERT_NE(bar->activeAction(), nullptr);
        EXPECT_EQ(bar->activeAction()->text(), "File");
        EXPECT_GT(fileHighlighted(), 0) << "the armed bar shows its first menu highlighted";
        key(Qt::Key_Escape);
        EXPECT_EQ(bar->activeAction(), nullptr);
        EXPECT_EQ(fileHighlighted(), 0);
        EXPECT_EQ(QApplication::focusWidget(), &form_->StringGrid1());
    }
    key(Qt::Key_F10);
    key(Qt::Key_Right);  // Options
    key(Qt::Key_Return);
    key(Qt::Key_Down);  // from Update to What changed…
    key(Qt::Key_Return);
    EXPECT_TRUE(form_->WhatChanged().isVisible());
    for (QAction* menu : bar->actions()) EXPECT_FALSE(menu->text().contains('&')) << menu->text().toStdString();
}

// Contrast as accessibility guidelines define it (relative luminance of
// sRGB), measured on the pixels drawn rather than taken from the code.
double MeasuredContrast(QColor a, QColor b) {
    const auto luminance = [](QColor colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The links are navy on a palette where navy stands out (4.5:1 or more), the
// palette's link colour where that does, and a colour that does elsewhere:
// the drawn text (its pixel farthest from the commonest, the background) is
// measured.
TEST(AboutBoxLinks, StandOutOnAnyPalette) {
    const QPalette light = QApplication::palette();
    const struct {
        const char* palette;
        QColor window, link;
        std::optional<QColor> drawn;  // none: any colour that stands out
    } palettes[] = {
        {"light", light.color(QPalette::Window), light.color(QPalette::Link), QColor(0, 0, 128)},
        {"dark, its link colour at 7.8:1", QColor(0x1e, 0x1e, 0x1e), QColor(0x6c, 0xb6, 0xff), QColor(0x6c, 0xb6, 0xff)},
        {"dark, its link colour at 4.0:1", QColor(49, 54, 59), QColor(29, 153, 243), std::nullopt},
        {"mid grey, navy at 4.1:1, its link colour at 2.2:1", QColor(128, 128, 128), QColor(0, 0, 255), std::nullopt},
    };
    chart::RecordingPorts documents;
    for (const auto& [name, window, link, drawn] : palettes) {
        SCOPED_TRACE(name);
        QPalette palette = light;
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::Link, link);
        TOKRightDlg about(documents, nullptr);
        about.setPalette(palette);
        for (const char* label : {"Label3", "Label5"}) {
            const QImage pixels = about.grab(about.findChild<QLabel*>(label)->geometry()).toImage();
            std::map<QRgb, int> counts;
            for (int y = 0; y < pixels.height(); ++y)
                for (int x = 0; x < pixels.width(); ++x) ++counts[pixels.pixel(x, y)];
            const QColor background =
                std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
            QColor text = background;
            for (const auto& [pixel, count] : counts)
                if (MeasuredContrast(pixel, background) > MeasuredContrast(text, background)) text = pixel;
            EXPECT_EQ(background, window) << label;
            EXPECT_GE(MeasuredContrast(text, background), 4.5) << label << " drawn in " << text.name().toStdString();
            // The colour up to antialiasing: no stem's pixel is wholly covered.
            if (drawn) {
                EXPECT_LE(std::max({std::abs(text.red() - drawn->red()), std::abs(text.green() - drawn->green()),
                                    std::abs(text.blue() - drawn->blue())}),
                          4)
                    << label << " drawn in " << text.name().toStdString();
            }
        }
        // The contact address within the frame, at the designed font.
        const QRect frame = about.findChild<QFrame*>("Bevel1")->geometry();
        EXPECT_LE(about.findChild<QLabel*>("Label5")->geometry().right(), frame.right() - 2);
    }
}

}  // namespace
}  // namespace vantrel::ui::testing
