// What readers will see change between two charts, one pair a row: each
// folder under tests/data/diff holds the chart before (old/) and after (new/)
// under the viewer's names, and the lines expected in order (expected).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "chart/diff/chart_changes.h"
#include "shown_chart_loader.h"
#include "support/test_data.h"

namespace chart {
namespace {

namespace fs = std::filesystem;

ShownChart Load(const std::string& folder) { return chart_test::LoadShownChart(folder); }

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(support::TestDataPath("diff"))) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class ChartChangesCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ChartChangesCase, AreTheExpectedLines) {
    const std::string folder = "diff/" + GetParam();
    std::string printed;
    for (const ChartChange& change : ChangesBetween(Load(folder + "/old"), Load(folder + "/new")))
        printed += change.text + "\n";
    EXPECT_EQ(printed, support::TestData(folder + "/expected"));
}

INSTANTIATE_TEST_SUITE_P(Pairs, ChartChangesCase, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// A line the window can take its reader to: the cell that shows the change.
TEST(ChartChanges, AResultOrAnAnswerNamesItsCell) {
    const auto changes = ChangesBetween(Load("diff/changes/old"), Load("diff/changes/new"));
    const auto at = [&](std::string_view text) {
        const auto found = std::find_if(changes.begin(), changes.end(), [&](const auto& c) { return c.text == text; });
        return found == changes.end() ? std::pair{-1, -1} : std::pair{found->row, found->col};
    };
    EXPECT_EQ(at("Alpha: Interception 3 -> 4"), (std::pair{2, 3}));
    EXPECT_EQ(at("Charlie: OS support: Second NO -> YES"), (std::pair{1, 1}));
    EXPECT_EQ(at("added: Delta (row 3)"), (std::pair{3, 0}));
    EXPECT_EQ(at("removed: Bravo (was row 2)"), (std::pair{0, 0}));
}

}  // namespace
}  // namespace chart
