// Every way into the grid's cell-selection event raises it exactly once; the
// ways out raise nothing.
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <functional>

#include "form_fixture.h"
#include "ui/grid/chart_grid.h"
#include "ui/text/display_text.h"

namespace vantrel::ui::testing {
namespace {

using Cells = std::vector<std::pair<int, int>>;

class GridInputTest : public FormTest {
protected:
    void SetUp() override { OpenChart(4); }
    // A chart of more programs than the grid shows at once scrolls.
    void OpenChart(int programs) {
        WriteSampleChart(dir_, programs);
        Open();
        CountSelections();
        grid().setFocus();
        QApplication::processEvents();
    }
    ChartGrid& grid() { return form_->StringGrid1(); }
    QWidget* cells() { return grid().viewport(); }
    int ScrolledTo() { return grid().verticalScrollBar()->value(); }
    bool Visible(int row) { return cells()->rect().contains(grid().CellRect(1, row)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&grid(), key, modifiers);
    }
    // A notch with the pointer over `over` (the grid's cells unless told).
    void Wheel(int delta, QWidget* over = nullptr) {
        const QPoint at = over ? over->rect().center() : CellCentre(1, 1);
        over = over ? over : cells();
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }
    std::pair<int, int> Current() { return {form_->GridModel().Col(), form_->GridModel().Row()}; }
};

TEST_F(GridInputTest, PressesOnCellsRaiseTheEventEachTime) {
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(2, 3));
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(2, 3));  // the current cell again
    EXPECT_EQ(selections_, (Cells{{2, 3}, {2, 3}}));
    EXPECT_EQ(Current(), (std::pair{2, 3}));
    // A program's name opens its address once per press.
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(0, 2));
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(0, 2));
    EXPECT_EQ(documents_.Opened(),
              (std::vector<std::string>{"http://www.prog2.example/", "http://www.prog2.example/"}));
}

TEST_F(GridInputTest, DoubleClickRaisesTheEventOnce) {
    // Through the window, so Qt turns the second press into a double click.
    QTest::mouseDClick(form_->windowHandle(), Qt::LeftButton, {},
                       cells()->mapTo(form_.get(), CellCentre(0, 3)));
    EXPECT_EQ(selections_, (Cells{{0, 3}}));
    EXPECT_EQ(documents_.Opened(), (std::vector<std::string>{"http://www.prog3.example/"}));
}

TEST_F(GridInputTest, FixedRowSizingZoneDragAndShiftPressRaiseNothing) {
    QHeaderView* header = grid().horizontalHeader();
    ASSERT_TRUE(header->isVisible());
    ASSERT_EQ(header->height(), 6);
    QWidget* fixedRow = header->viewport();
    // Inside the fixed row, away from a border, then on the border between
    // columns 0 and 1, dragging it: the column grows, nothing is selected.
    QTest::mouseClick(fixedRow, Qt::LeftButton, {}, QPoint(100, 2));
    const int border = header->sectionViewportPosition(1) - 1;
    QTest::mousePress(fixedRow, Qt::LeftButton, {}, QPoint(border, 2));
    QTest::mouseMove(fixedRow, QPoint(border + 20, 2));
    QTest::mouseRelease(fixedRow, Qt::LeftButton, {}, QPoint(border + 20, 2));
    EXPECT_EQ(header->sectionSize(0), 226 + 20);
    EXPECT_TRUE(selections_.empty());

    header->resizeSection(0, 226);
    QTest::mousePress(cells(), Qt::LeftButton, {}, CellCentre(1, 1));
    QTest::mouseMove(cells(), CellCentre(3, 3));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, CellCentre(3, 3));
    QTest::mouseClick(cells(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(4, 2));
    EXPECT_EQ(selections_, (Cells{{1, 1}}));
    EXPECT_EQ(Current(), (std::pair{1, 1}));
    EXPECT_EQ(form_->GridModel().AnchorCol(), 4);
    EXPECT_EQ(form_->GridModel().AnchorRow(), 2);
}

TEST_F(GridInputTest, KeyboardMovesRaiseTheEventOnlyForADifferentCell) {
    Key(Qt::Key_Right);                      // (1,1)
    Key(Qt::Key_Down);                       // (1,2)
    Key(Qt::Key_End);                        // (7,2)
    Key(Qt::Key_Right);                      // already in the last column: nothing
    Key(Qt::Key_Home);                       // (0,2)
    Key(Qt::Key_End, Qt::ControlModifier);   // (7,4)
    Key(Qt::Key_Down);                       // last row: nothing
    Key(Qt::Key_Home, Qt::ControlModifier);  // (0,1)
    Key(Qt::Key_Up);                         // the fixed row is not reachable: nothing
    Key(Qt::Key_PageDown);                   // a page down, clamped to the last row
    Key(Qt::Key_PageUp, Qt::ControlModifier);  // top visible row
    Key(Qt::Key_PageDown, Qt::ControlModifier);  // bottom visible row
    EXPECT_EQ(selections_, (Cells{{1, 1}, {1, 2}, {7, 2}, {0, 2}, {7, 4}, {0, 1}, {0, 4}, {0, 1}, {0, 4}}));
    // Shift+arrow only extends the range.
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(selections_.size(), 9u);
    EXPECT_EQ(form_->GridModel().AnchorRow(), 3);
}

TEST_F(GridInputTest, LeftArrowIntoTheNameColumnOpensThePage) {
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(1, 3));
    Key(Qt::Key_Left);
    EXPECT_EQ(documents_.Opened(), (std::vector<std::string>{"http://www.prog3.example/"}));
}

TEST_F(GridInputTest, WheelNotchesMoveOneRowKeepingTheRemainder) {
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(3, 2));
    Wheel(-120);  // towards the user: down
    Wheel(-60);
    Wheel(-60);   // 60 + 60 make the second notch
    Wheel(-120);  // already in the last row: no move
    Wheel(120);
    EXPECT_EQ(selections_, (Cells{{3, 2}, {3, 3}, {3, 4}, {3, 3}}));
    // Not focused: the wheel does nothing.
    form_->Memo1().setFocus();
    Wheel(120);
    EXPECT_EQ(selections_.size(), 4u);
}

TEST_F(GridInputTest, TheWheelFollowsTheFocusNotThePointer) {
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(3, 2));
    Wheel(-120, form_->Memo1().viewport());
    Wheel(-120, form_->findChild<QWidget*>("Image2"));
    EXPECT_EQ(selections_, (Cells{{3, 2}, {3, 3}, {3, 4}}));
    // The panel focused: a notch over the grid scrolls the panel.
    form_->Memo1().setPlainText(QString("line\n").repeated(100));
    form_->Memo1().setFocus();
    Wheel(-120);
    EXPECT_GT(form_->Memo1().verticalScrollBar()->value(), 0);
    EXPECT_EQ(selections_.size(), 3u);
}

TEST_F(GridInputTest, TabAndShiftTabMoveBetweenGridAndPanel) {
    const QString panelText = form_->Memo1().toPlainText();
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Tab, Qt::NoModifier},
                                         std::pair{Qt::Key_Backtab, Qt::ShiftModifier}}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        EXPECT_TRUE(form_->Memo1().hasFocus());
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        EXPECT_TRUE(grid().hasFocus());
    }
    EXPECT_EQ(form_->Memo1().toPlainText(), panelText);  // no tab typed into it
}

TEST_F(GridInputTest, TheViewStaysWhereTheUserScrolledIt) {
    OpenChart(30);
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(2, 3));
    grid().verticalScrollBar()->setValue(12);
    form_->GridModel().SetCell(1, 3, "x");
    form_->SetGridEnabled(false);
    form_->ReadAll();  // what an update ends with; it enables the grid again
    EXPECT_EQ(ScrolledTo(), 12);
    EXPECT_FALSE(Visible(1));
    // A key move still brings the cell it moves to into view.
    grid().setFocus();
    Key(Qt::Key_Down);
    EXPECT_TRUE(Visible(form_->GridModel().Row()));
}

// Disabled for an update, the grid hands the focus on; enabled again (the
// reload, or a failure's message) it takes it back, if it had it.
TEST_F(GridInputTest, AnUpdateLeavesTheFocusWhereItWas) {
    const std::pair<QWidget*, std::function<void()>> updates[] = {
        {&grid(), [this] { form_->ReadAll(); }},
        {&grid(), [this] { form_->SetGridEnabled(true); }},
        {&form_->Memo1(), [this] { form_->ReadAll(); }},
    };
    for (const auto& [focused, end] : updates) {
        focused->setFocus();
        form_->SetGridEnabled(false);
        end();
        EXPECT_TRUE(focused->hasFocus()) << focused->objectName().toStdString();
    }
}

// Ctrl+C copies the current cell's text as the grid shows it, and neither
// selects nor opens anything.
TEST_F(GridInputTest, CtrlCCopiesTheCurrentCellAsShown) {
    form_->GridModel().SetCell(0, 2, "Caf\xe9");
    form_->GridModel().SetCell(4, 3, std::string(3000, 'x'));
    const std::tuple<int, int, QString> currents[] = {
        {0, 1, "Alpha"},
        {0, 2, QString::fromUtf8("Caf\xc3\xa9")},                    // Windows-1252, decoded
        {4, 3, QString(kDisplayTextLimit, 'x') + QChar(0x2026)},  // cut as the grid cuts it
    };
    for (const auto& [col, row, copied] : currents) {
        QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(col, row));
        const auto events = std::pair(selections_.size(), documents_.Opened().size());
        QApplication::clipboard()->clear();
        Key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), copied);
        EXPECT_EQ(std::pair(selections_.size(), documents_.Opened().size()), events);
        EXPECT_EQ(Current(), std::pair(col, row));
    }
}

TEST_F(GridInputTest, DragBeyondTheBottomEdgeScrollsAndExtendsTheRange) {
    OpenChart(30);
    const auto& model = form_->GridModel();
    QTest::mousePress(cells(), Qt::LeftButton, {}, CellCentre(1, 1));
    int hidden = 1;
    while (Visible(hidden + 1)) ++hidden;
    ++hidden;  // the first row below the view
    QTest::mouseMove(cells(), QPoint(CellCentre(1, 1).x(), cells()->height() + 10));
    EXPECT_EQ(model.AnchorRow(), hidden);
    EXPECT_TRUE(Visible(hidden));
    // Held there, it goes on a row at a time.
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.AnchorRow() > hidden; }, 10000));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, QPoint(CellCentre(1, 1).x(), -3));
    EXPECT_EQ(selections_, (Cells{{1, 1}}));
    EXPECT_EQ(Current(), (std::pair{1, 1}));
}

TEST_F(GridInputTest, ALoadTellsTheViewOnceWhateverTheChartsSize) {
    // Programs before and after the reload, and the notices the view gets:
    // the cells' change, plus the rows added or removed when the count moves.
    const struct { int before, after, notices; } loads[] = {
        {4, 4, 1}, {50, 50, 1}, {4, 50, 2}, {50, 1, 2},
    };
    for (const auto& load : loads) {
        OpenChart(load.before);
        int notices = 0;
        auto* table = grid().model();
        QObject::connect(table, &QAbstractItemModel::modelReset, [&] { ++notices; });
        QObject::connect(table, &QAbstractItemModel::layoutChanged, [&] { ++notices; });
        QObject::connect(table, &QAbstractItemModel::rowsInserted, [&] { ++notices; });
        QObject::connect(table, &QAbstractItemModel::rowsRemoved, [&] { ++notices; });
        QObject::connect(table, &QAbstractItemModel::dataChanged, [&] { ++notices; });
        WriteSampleChart(dir_, load.after);
        form_->ReadAll();
        EXPECT_EQ(notices, load.notices) << load.before << " -> " << load.after;
        EXPECT_EQ(table->rowCount(), load.after);
    }
}

TEST_F(GridInputTest, DisabledGridTakesNoInput) {
    form_->SetGridEnabled(false);
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(2, 2));
    Key(Qt::Key_Down);
    Wheel(-120);
    EXPECT_TRUE(selections_.empty());
    EXPECT_FALSE(grid().isEnabled());
}

TEST_F(GridInputTest, AnErrorInTheHandlerIsShownAndTheCellStays) {
    dir_.Write("policy", "");  // every test's count stays empty
    Open();
    CountSelections();
    ASSERT_TRUE(boxes_.seen.empty());
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(2, 3));
    ASSERT_EQ(boxes_.seen.size(), 1u);
    EXPECT_EQ(boxes_.seen[0].objectName, "VantrelErrorBox");
    EXPECT_EQ(boxes_.seen[0].title, "Vantrel");
    EXPECT_EQ(boxes_.seen[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(Current(), (std::pair{0, 1}));
    EXPECT_EQ(MemoText(), "");
}

TEST_F(GridInputTest, AfterTheFixedRowIsLostItsFormerRowIsAnOrdinaryRow) {
    dir_.Write("data", "");  // no complete record: one row, no fixed row
    Open();
    CountSelections();
    ASSERT_EQ(form_->GridModel().FixedRows(), 0);
    EXPECT_FALSE(grid().horizontalHeader()->isVisible());
    ASSERT_EQ(grid().model()->rowCount(), 1);
    EXPECT_EQ(grid().rowHeight(0), 6);
    QTest::mouseClick(cells(), Qt::LeftButton, {}, CellCentre(2, 0));
    EXPECT_EQ(selections_, (Cells{{2, 0}}));
    EXPECT_TRUE(boxes_.seen.empty());
}

}  // namespace
}  // namespace vantrel::ui::testing
