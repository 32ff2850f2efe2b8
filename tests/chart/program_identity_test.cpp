// Who a program is across a reload, one pair of charts a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "chart/compare/compare_chart.h"
#include "shown_chart_loader.h"

namespace chart {
namespace {

const std::string kCases = "compare/identity";

CompareChart Load(const std::string& folder) { return CompareChart(chart_test::LoadShownChart(folder, "compare")); }

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(support::TestDataPath(kCases)))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Row(int index) { return index < 0 ? "-" : std::to_string(index + 1); }

class ProgramIdentityCase : public ::testing::TestWithParam<std::string> {};

// Each folder under tests/data/compare/identity holds the data file before and
// after (the policy and version are the compare cases' own) and the pairs
// expected in MatchPrograms' order: rows before -> after ("-" for none) and
// what changed.
TEST_P(ProgramIdentityCase, PairsTheProgramsExpected) {
    const std::string folder = kCases + "/" + GetParam();
    const CompareChart before = Load(folder + "/before"), after = Load(folder + "/after");
    std::string pairs;
    for (const ProgramPair& pair : MatchPrograms(before.Identities(), after.Identities()))
        pairs += Row(pair.before) + " -> " + Row(pair.after) + (pair.renamed ? " renamed" : "") +
                 (pair.readdressed ? " readdressed" : "") + (pair.moved ? " moved" : "") + "\n";
    EXPECT_EQ(pairs, support::TestData(folder + "/expected"));

    // The key kept for the next start finds the same program, where the
    // chart after has one by that page or name.
    for (const ProgramPair& pair : MatchPrograms(before.Identities(), after.Identities())) {
        if (pair.before < 0) continue;
        EXPECT_EQ(after.Identities().Find(before.Identities().Key(pair.before)), pair.after) << Row(pair.before);
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, ProgramIdentityCase, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

}  // namespace
}  // namespace chart
