// Where What changed and Compare open: beside the main window, never over the
// grid and details panel it points into, and where the reader left them.
#include <gtest/gtest.h>

#include <QWidget>

#include "ui/side_window_placement.h"

namespace vantrel::ui {
namespace {

struct PlacementRow {
    const char* name;
    QRect screen;
    QRect main;   // the main window's frame
    bool uncovered;  // whether there is room for the window beside the kept part
};
void PrintTo(const PlacementRow& row, std::ostream* os) { *os << row.name; }

// The grid and details panel within the main window's frame: below its title
// bar, menu and banner, above its Update button and status bar.
QRect Kept(const QRect& main) { return QRect(main.left() + 4, main.top() + 100, 762, 281); }

const QSize kWanted(440, 300), kLeast(420, 160);

const PlacementRow kRows[] = {
    {"LargeScreenBelow", QRect(0, 0, 1920, 1080), QRect(579, 330, 770, 430), true},
    {"SmallScreenShrunkBelow", QRect(0, 0, 1024, 768), QRect(127, 169, 770, 430), true},
    {"MainAtTheBottomRightOfIt", QRect(0, 0, 1400, 768), QRect(0, 338, 770, 430), true},
    {"MainAtTheBottomRightAboveIt", QRect(0, 0, 800, 900), QRect(0, 470, 770, 430), true},
    {"SecondScreenOffset", QRect(1920, 0, 1280, 1024), QRect(2175, 297, 770, 430), true},
    {"NoRoomCoversLeast", QRect(0, 0, 1024, 600), QRect(127, 85, 770, 430), false},
};

class PlaceBesideTest : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(PlaceBesideTest, OnTheScreenAndOffTheGridWhereThereIsRoom) {
    const PlacementRow& row = GetParam();
    const QRect frame = PlaceBeside(kWanted, kLeast, row.main, Kept(row.main), row.screen);
    EXPECT_TRUE(row.screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_GE(frame.width(), kLeast.width());
    if (row.uncovered) {
        EXPECT_FALSE(frame.intersects(Kept(row.main)));
        EXPECT_GE(frame.height(), kLeast.height());
    } else {
        // Of the screen's corners, none hides less of the grid.
        const QRect overlap = frame.intersected(Kept(row.main));
        const QRect centred = QRect(QPoint(0, 0), frame.size()).translated(row.screen.center() - QPoint(frame.width() / 2, frame.height() / 2));
        EXPECT_LT(overlap.width() * overlap.height(), centred.intersected(Kept(row.main)).width() * centred.intersected(Kept(row.main)).height());
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, PlaceBesideTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SideWindowPlacementTest, ReopensWhereTheReaderLeftIt) {
    QWidget main;
    main.setGeometry(200, 150, 762, 380);
    main.show();
    QWidget side;
    side.setMinimumSize(kLeast);
    SideWindowPlacement placement(side, main, kLeast, [] { return QRect(0, 54, 762, 281); });
    placement.Show();
    const QRect first = side.frameGeometry();
    EXPECT_FALSE(first.intersects(QRect(main.mapToGlobal(QPoint(0, 54)), QSize(762, 281))));
    side.move(first.topLeft() + QPoint(37, 11));
    side.hide();
    placement.Show();
    EXPECT_EQ(side.frameGeometry().topLeft(), first.topLeft() + QPoint(37, 11));
    EXPECT_TRUE(side.isVisible());
}

}  // namespace
}  // namespace vantrel::ui
