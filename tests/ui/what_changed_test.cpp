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

TEST(AboutBoxLinks, StandOutOnALightPaletteAndADarkOne) {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Link, QColor(0x6c, 0xb6, 0xff));
    chart::RecordingPorts documents;
    for (const QPalette& palette : {light, dark}) {
        TOKRightDlg about(documents, nullptr);
        about.setPalette(palette);
        for (const char* name : {"Label3", "Label5"}) {
            const QLabel* link = about.findChild<QLabel*>(name);
            const QColor text = link->palette().color(QPalette::WindowText);
            EXPECT_GE(ContrastRatio(text, palette.color(QPalette::Window)), 4.5) << name;
            if (&palette == &light) {
                EXPECT_EQ(text, QColor(0, 0, 128)) << "navy on the light palette";
            }
        }
        // The contact address within the frame, at the designed font.
        const QRect frame = about.findChild<QFrame*>("Bevel1")->geometry();
        EXPECT_LE(about.findChild<QLabel*>("Label5")->geometry().right(), frame.right() - 2);
    }
}

}  // namespace
}  // namespace vantrel::ui::testing
