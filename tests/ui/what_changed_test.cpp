// What changed after an Update's reload: its lines and the cells they lead to,
// where it opens, and the copy as text; the menus reached from the keyboard
// alone; the about box's links on any palette.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QWindow>
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
    const char* line;  // a line the window lists, read alone (with its heading); nullptr: none
    int col, row;      // the cell choosing it selects; col 0: none; row 0: the reader's row
};

void Replace(const ChartDirectory& dir, const char* file, const std::string& from, const std::string& to) {
    std::string text = dir.Read(file);
    text.replace(text.find(from), from.size(), to);
    dir.Write(file, text);
}
void ChangeData(const ChartDirectory& dir, const std::string& from, const std::string& to) {
    Replace(dir, "data", from, to);
}
// The first program's record moved to the end.
void MoveAlphaLast(const ChartDirectory& dir) {
    const std::string alpha = "http://www.prog1.example/\r\nAlpha\r\n10 01 11 00 1x 0\r\n1 2 3 4 5 6 21\r\n\r\n";
    ChangeData(dir, alpha, "");
    dir.Write("data", dir.Read("data") + alpha);
}

void ChangeBravosTotal(const ChartDirectory& dir) { ChangeData(dir, "1 2 3 4 5 6 22", "1 2 3 4 5 6 26"); }

const Reload kReloads[] = {
    {"a changed result", ChangeBravosTotal, "Bravo (row 2): Total 22 -> 26", 7, 2},
    {"a program's heading", ChangeBravosTotal, "Bravo (row 2)", 7, 2},
    {"a changed answer",
     [](const ChartDirectory& dir) {
         ChangeData(dir, "10 01 11 00 1x 0\r\n1 2 3 4 5 6 23", "10 01 10 00 1x 0\r\n1 2 3 4 5 6 23");
     },
     "Charlie (row 3): Interception: Second YES -> NO", 3, 3},
    {"an added program out of view", [](const ChartDirectory& dir) { WriteSampleChart(dir, 16); },
     "Program 16 (row 16): added to the chart", 7, 16},
    {"a moved program", MoveAlphaLast, "Alpha (row 4): moved: row 1 -> 4", 7, 4},
    {"a renamed program", [](const ChartDirectory& dir) { ChangeData(dir, "Delta", "Delta Plus"); },
     "Delta Plus (row 4): renamed: Delta -> Delta Plus", 7, 4},
    {"a test's new sub-criterion",
     [](const ChartDirectory& dir) { Replace(dir, "policy", "Interception\r\nFirst\r\nSecond\r\n",
                                             "Interception\r\nFirst\r\nSecond\r\nThird\r\n"); },
     "The whole chart: Interception: sub-criterion 'Third' added", 3, 0},
    {"a removed program", [](const ChartDirectory& dir) { WriteSampleChart(dir, 3); },
     "Delta (was row 4): removed from the chart", 0, 0},
    {"nothing changed", [](const ChartDirectory&) {}, nullptr, 0, 0},
};

class WhatChangedTest : public FormTest {
protected:
    QAction* Item() { return form_->findChild<QAction*>("WhatChanged1"); }
    QListView& Lines() { return form_->WhatChanged().Lines(); }
    QModelIndex Find(const QString& alone) {
        QAbstractItemModel& model = *Lines().model();
        for (int i = 0; i < model.rowCount(); ++i)
            if (model.index(i, 0).data(Qt::AccessibleTextRole).toString() == alone) return model.index(i, 0);
        return {};
    }
    std::pair<int, int> Current() { return {form_->GridModel().Col(), form_->GridModel().Row()}; }
    bool InView(int col, int row) {
        ChartGrid& grid = form_->StringGrid1();
        return grid.viewport()->rect().contains(grid.CellRect(col, row));
    }
    // A reload as an Update ends, and what it changed worked out.
    void ReadAll() {
        form_->ReadAll();
        ASSERT_TRUE(QTest::qWaitFor([this] { return form_->WhatChangedUpToDate(); }, 20000));
    }
    // The sample chart, then the row's reload.
    void Reloaded(const Reload& reload) {
        form_.reset();
        WriteSampleChart(dir_);
        Open();
        ASSERT_FALSE(Item()->isEnabled());
        reload.change(dir_);
        ReadAll();
        EXPECT_TRUE(boxes_.seen.empty());
    }
};

TEST_F(WhatChangedTest, EachKindOfLineLeadsToItsCellEachTimeItIsChosen) {
    for (const Reload& reload : kReloads) {
        SCOPED_TRACE(reload.name);
        Reloaded(reload);
        ASSERT_TRUE(Item()->isEnabled());  // if only to say that nothing changed
        const auto before = Current();
        const std::string memo = MemoText();
        Item()->trigger();
        ChangesWindow& window = form_->WhatChanged();
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.isModal());
        EXPECT_EQ(window.parentWidget(), nullptr);  // a window of its own, not kept above the main one
        EXPECT_EQ(Current(), before);  // opening it selects nothing
        EXPECT_EQ(MemoText(), memo);
        if (!reload.line) {
            EXPECT_TRUE(window.Heading().startsWith("The last Update, on ")) << window.Heading().toStdString();
            EXPECT_TRUE(window.Heading().contains(" changed nothing since the chart shown on "));
            EXPECT_EQ(Lines().model()->rowCount(), 0);
            continue;
        }
        EXPECT_TRUE(window.Heading().startsWith("Since the chart shown on ")) << window.Heading().toStdString();
        const QModelIndex line = Find(reload.line);
        ASSERT_TRUE(line.isValid()) << reload.line;
        // Chosen by a click, then again by Enter after the reader moved the grid elsewhere.
        for (const bool click : {true, false}) {
            SCOPED_TRACE(click ? "click" : "Enter");
            if (!click) form_->StringGrid1().Select(1, 1 + (reload.row == 1));
            const int row = reload.row > 0 ? reload.row : form_->GridModel().Row();
            const auto was = Current();
            if (click) {
                Lines().scrollTo(line);
                QTest::mouseClick(Lines().viewport(), Qt::LeftButton, {}, Lines().visualRect(line).center());
            } else {
                Lines().setCurrentIndex(line);
                QTest::keyClick(&Lines(), Qt::Key_Return);
            }
            if (reload.col > 0) {
                EXPECT_EQ(Current(), std::pair(reload.col, row));
                EXPECT_TRUE(InView(reload.col, row));
                EXPECT_FALSE(MemoText().empty());
            } else {
                EXPECT_EQ(Current(), was);
            }
        }
        EXPECT_TRUE(documents_.Opened().empty());
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());  // hidden, not gone
        EXPECT_EQ(&form_->WhatChanged(), &window);
    }
}

// Ctrl+A and Ctrl+C copy the whole list, as diff prints it.
TEST_F(WhatChangedTest, CopiesTheWholeListAsText) {
    Reloaded(kReloads[2]);
    ChangeData(dir_, "1 2 3 4 5 6 21", "1 2 3 4 5 6 29");
    ReadAll();  // a second Update: since the chart the first one showed
    Item()->trigger();
    QTest::keyClick(&Lines(), Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(&Lines(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::clipboard()->text().isEmpty(); }, 20000));
    EXPECT_EQ(QApplication::clipboard()->text(), "Alpha (row 1)\n  Total 21 -> 29\n");
}

// On a 1024x768 screen (its own run: ui_what_changed_on_a_small_screen), the
// main window centred: What changed opens beside it, covering neither the
// grid nor the details panel, and reopens where the reader put it.
using WhatChangedOnASmallScreen = WhatChangedTest;
TEST_F(WhatChangedOnASmallScreen, OpensOffTheGridAndTheDetails) {
    ASSERT_EQ(QApplication::primaryScreen()->geometry(), QRect(0, 0, 1024, 768))
        << "run on the 1024x768 screen: ctest's ui_what_changed_on_a_small_screen";
    Reloaded(kReloads[0]);
    Item()->trigger();
    ChangesWindow& window = form_->WhatChanged();
    ASSERT_TRUE(window.isVisible());
    const auto global = [](const QWidget& widget) { return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size()); };
    const QRect frame = window.frameGeometry();
    EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(frame));
    EXPECT_FALSE(frame.intersects(global(form_->StringGrid1())));
    EXPECT_FALSE(frame.intersects(global(form_->Memo1())));
    EXPECT_EQ(window.windowHandle()->transientParent(), nullptr);
    window.move(frame.topLeft() + QPoint(-40, -9));
    QTest::keyClick(&window, Qt::Key_Escape);
    Item()->trigger();
    EXPECT_EQ(window.frameGeometry().topLeft(), frame.topLeft() + QPoint(-40, -9));
}

// F10 (or Alt alone) puts the focus on the menu bar; the arrows and Enter
// choose Options/What changed…; Esc leaves it; the captions have no mnemonic.
TEST_F(WhatChangedTest, MenusAreReachedByTheKeyboardAlone) {
    WriteSampleChart(dir_);
    Open();
    WriteSampleChart(dir_, 3);
    ReadAll();
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
