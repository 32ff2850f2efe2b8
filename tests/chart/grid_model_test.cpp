// The chart grid model: cells and counts, the row-count rule, selection events and the wheel.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "chart/tables/grid_model.h"

namespace chart {
namespace {

struct Event {
    int col, row;
    SelectionCause cause;
    bool operator==(const Event&) const = default;
};

class GridModelTest : public ::testing::Test {
protected:
    GridModel grid;
    std::vector<Event> events;
    int scrollHomes = 0;
    bool throwInHandler = false;

    void SetUp() override {
        grid.SetOnSelectCell([this](int col, int row, SelectionCause cause) {
            events.push_back({col, row, cause});
            if (throwInHandler) throw std::runtime_error("refused");
        });
        grid.SetOnScrollHome([this] { ++scrollHomes; });
    }
    void MoveTo(int col, int row) {
        grid.SetRowCount(std::max(grid.RowCount(), row + 1));
        grid.SelectCell(col, row);
        events.clear();
    }
};

TEST_F(GridModelTest, CellsOutliveTheCountsAndNeverChangeThem) {
    grid.SetCell(9, 1, "ninth");
    grid.SetCell(0, 7, "beyond");
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(9, 1), "ninth");
    EXPECT_EQ(grid.Cell(3, 3), "");
    EXPECT_EQ(grid.Cell(-1, 0), "");

    grid.SetRowCount(8);
    grid.SetRowCount(2);
    grid.SetRowCount(8);
    EXPECT_EQ(grid.Cell(0, 7), "beyond");
}

TEST_F(GridModelTest, RowCountRuleMovesTheCurrentCellToTheLastRowWithAnEvent) {
    MoveTo(0, 5);
    grid.SetRowCount(6);  // same value: nothing
    EXPECT_TRUE(events.empty());

    grid.SetRowCount(2);
    EXPECT_EQ(events, (std::vector<Event>{{0, 1, SelectionCause::RowCountChange}}));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.AnchorRow(), 1);

    events.clear();
    grid.SetRowCount(9);  // growing never moves the current cell
    EXPECT_TRUE(events.empty());
}

TEST_F(GridModelTest, RowCountChangeIsUndoneWhenTheHandlerThrows) {
    MoveTo(2, 4);
    throwInHandler = true;
    EXPECT_THROW(grid.SetRowCount(3), std::runtime_error);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.FixedRows(), 1);
}

TEST_F(GridModelTest, RowCountDownToTheFixedRowsGivesUpTheFixedRowSilently) {
    MoveTo(3, 4);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.AnchorRow(), 0);
    EXPECT_EQ(scrollHomes, 1);
    EXPECT_TRUE(events.empty());

    grid.SetRowCount(-5);  // below 1 is raised to 1, which it already is
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_TRUE(events.empty());

    grid.SetRowCount(2);
    grid.RestoreFixedRow();
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_TRUE(events.empty());
}

TEST_F(GridModelTest, UserSelectionRaisesTheEventFirstAndMovesOnlyIfItReturns) {
    grid.SetRowCount(4);
    grid.SelectCell(0, 1);  // the current cell still raises the event
    grid.SelectCell(3, 2);
    EXPECT_EQ(events, (std::vector<Event>{{0, 1, SelectionCause::User}, {3, 2, SelectionCause::User}}));
    EXPECT_EQ(grid.Col(), 3);

    throwInHandler = true;
    EXPECT_THROW(grid.SelectCell(5, 3), std::runtime_error);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Row(), 2);

    throwInHandler = false;
    events.clear();
    grid.SelectCell(1, 0);  // fixed row
    grid.SelectCell(8, 1);  // no such column
    grid.SelectCell(1, 4);  // no such row
    grid.ExtendSelection(6, 3);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(grid.AnchorCol(), 6);
    EXPECT_EQ(grid.Col(), 3);
}

TEST_F(GridModelTest, DisabledGridRaisesEventsOnlyThroughRowCountChanges) {
    MoveTo(1, 3);
    grid.SetEnabled(false);
    grid.SelectCell(2, 2);
    grid.Wheel(-120);
    EXPECT_TRUE(events.empty());
    grid.SetRowCount(2);
    EXPECT_EQ(events, (std::vector<Event>{{1, 1, SelectionCause::RowCountChange}}));
}

TEST_F(GridModelTest, WheelNotchesMoveOneRowEachAndKeepTheRemainder) {
    MoveTo(3, 2);
    grid.SetRowCount(5);
    grid.Wheel(-60);
    EXPECT_TRUE(events.empty());
    grid.Wheel(-60);  // completes one notch towards the user: one row down
    EXPECT_EQ(events, (std::vector<Event>{{3, 3, SelectionCause::User}}));

    events.clear();
    grid.Wheel(-360);  // three notches, but only one more row exists
    EXPECT_EQ(events, (std::vector<Event>{{3, 4, SelectionCause::User}}));

    events.clear();
    grid.Wheel(+250);  // two notches up, 10 kept
    grid.Wheel(+110);
    EXPECT_EQ(events, (std::vector<Event>{{3, 3, SelectionCause::User},
                                          {3, 2, SelectionCause::User},
                                          {3, 1, SelectionCause::User}}));
    events.clear();
    grid.Wheel(+120);  // already on the first non-fixed row
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(grid.Row(), 1);
}

}  // namespace
}  // namespace chart
