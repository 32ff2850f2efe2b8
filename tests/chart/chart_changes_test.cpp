// What readers will see change between two charts, one pair a row, and the
// reload's history over them.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <filesystem>

#include "chart/diff/chart_changes.h"
#include "chart/diff/reload_history.h"
#include "chart/text/display_limit.h"
#include "shown_chart_loader.h"
#include "support/caps_chart.h"
#include "support/test_data.h"

namespace chart {
namespace {

namespace fs = std::filesystem;

ShownChart Load(const std::string& folder) { return chart_test::LoadShownChart(folder, "diff/base"); }

ChartChanges Between(const std::string& folder) { return ChangesBetween(Load(folder + "/old"), Load(folder + "/new")); }

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(support::TestDataPath("diff")))
        if (entry.path().filename() != "base") names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class ChartChangesCase : public ::testing::TestWithParam<std::string> {};

// Each folder under tests/data/diff holds the chart before (old/) and after
// (new/), or only the files that differ from the shared pair's (diff/base), and
// the lines expected in order (expected), printed as diff prints them.
TEST_P(ChartChangesCase, AreTheExpectedLines) {
    const std::string folder = "diff/" + GetParam();
    const ChartChanges changes = Between(folder);
    std::string printed;
    for (std::size_t line = 0; line < changes.Lines(); ++line) printed += changes.Printed(line) + "\n";
    EXPECT_EQ(printed, support::TestData(folder + "/expected"));
}

INSTANTIATE_TEST_SUITE_P(Pairs, ChartChangesCase, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// Each line leads the window's reader to a cell: a result or an answer to its
// own, any other line of a program to its Total, a test's line to that test in
// the reader's row (0), a removed program's and the start's nowhere.
TEST(ChartChanges, EachLineNamesTheCellItLeadsTo) {
    const ChartChanges changes = Between("diff/changes");
    const auto at = [&](std::string_view alone) {
        for (std::size_t line = 0; line < changes.Lines(); ++line)
            if (changes.Alone(line) == alone) return changes.CellOf(line);
        ADD_FAILURE() << "no line " << alone;
        return LineCell{-1, -1};
    };
    EXPECT_EQ(at("Alpha (row 2): Interception 3 -> 4"), (LineCell{3, 2}));
    EXPECT_EQ(at("Charlie (row 1): OS support: Second NO -> YES"), (LineCell{1, 1}));
    EXPECT_EQ(at("Charlie (row 1): moved: row 3 -> 1"), (LineCell{7, 1}));
    EXPECT_EQ(at("Charlie (row 1)"), (LineCell{7, 1}));
    EXPECT_EQ(at("Delta (row 3): added to the chart"), (LineCell{7, 3}));
    EXPECT_EQ(at("Bravo (was row 2): removed from the chart"), (LineCell{}));
    EXPECT_EQ(at("Bravo (was row 2)"), (LineCell{}));
    EXPECT_EQ(at("The whole chart: Security: sub-criterion 'Hidden mode' added"), (LineCell{5, 0}));
    EXPECT_EQ(changes.CellOf(1), (LineCell{})) << changes.Alone(1);  // what Vantrel says at start
    EXPECT_EQ(changes.Count(), changes.Lines() - 5);                 // five headings
}

// Two charts at the size caps that differ in everything: what is kept is the
// charts as shown, a few megabytes, and no line is longer than the shown
// texts it is made of (the charts' bytes are 64 MiB; the lines once copied
// every name into each of them).
TEST(ChartChanges, AtTheCapsKeepOnlyWhatIsShown) {
    const auto load = [](int edition) {
        const auto files = support::ChartAtTheCaps(edition);
        return std::make_shared<const SeenChart>(chart_test::LoadShownChart({files[0], files[1], files[2]}));
    };
    const std::size_t heap = mallinfo2().uordblks;
    auto before = load(1), after = load(2);
    const ChartChanges changes = ChangesBetween(std::move(before), std::move(after));
    const double heldMiB = static_cast<double>(mallinfo2().uordblks - heap) / (1 << 20);
    EXPECT_LT(heldMiB, 16) << "MiB held";
    // 50 programs, each renamed with its 7 results and 294 answers changed.
    EXPECT_EQ(changes.Count(), 50u * (1 + 7 + 6 * 49));
    const std::size_t longestShown = 3 * kDisplayTextLimit + 3;  // in UTF-8, with the ellipsis
    std::size_t longest = 0;
    for (std::size_t line = 0; line < changes.Lines(); ++line) longest = std::max(longest, changes.Text(line).size());
    EXPECT_LE(longest, 2 * longestShown + 64);
}

// The history a window draws: each reload's changes since the chart shown
// before it, when that one was first shown, a word when a reload changed
// nothing, and the release date of the chart shown now.
TEST(ReloadHistory, TellsEachReloadSinceTheChartBefore) {
    const ShownChart old = Load("diff/changes/old"), now = Load("diff/changes/new");
    const std::string signed100 =
        "untrusted comment: x\nRW\ntrusted comment: timestamp:100\tfile:data.dat\nRW\n";
    ReloadHistory history;
    history.Reload(old, 5, "");  // no start yet: this is the start
    EXPECT_FALSE(history.HasTold());
    history.Start(old, 10);
    history.Reload(old, 20, "");
    ASSERT_TRUE(history.HasTold());
    EXPECT_EQ(history.Last().changes, nullptr);
    EXPECT_EQ(history.Last().since, 10);
    EXPECT_EQ(history.Last().unchangedAt, 20);

    history.Reload(now, 30, signed100);
    const auto changed = history.Last().changes;
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->Alone(changed->Lines() - 1), "Bravo (was row 2): removed from the chart");
    EXPECT_EQ(history.Last().since, 10);  // the old chart, first shown at 10
    EXPECT_EQ(history.Last().unchangedAt, std::nullopt);
    EXPECT_EQ(history.Last().released, 100u);

    history.Reload(now, 40, "");  // the same chart, no longer signed
    EXPECT_EQ(history.Last().changes, changed);
    EXPECT_EQ(history.Last().unchangedAt, 40);
    EXPECT_EQ(history.Last().released, std::nullopt);

    history.Reload(old, 50, "");
    EXPECT_EQ(history.Last().since, 30);  // the new chart, first shown at 30 and again at 40
    const auto& back = *history.Last().changes;
    EXPECT_EQ(back.Alone(back.Lines() - 1), "Delta (was row 3): removed from the chart");
}

}  // namespace
}  // namespace chart
