// The data and policy readers: what each file fills, what a reload overwrites, what a failure leaves.
#include <gtest/gtest.h>

#include "chart/text/ascii.h"

#include <optional>
#include <tuple>

#include "chart/details/conversion_error.h"
#include "chart/files/data_file.h"
#include "chart_fixture.h"

namespace chart {
namespace {

using chart_test::ChartTest;
using Cells = std::vector<std::string>;
using Log = std::vector<std::string>;

std::string Record(const std::string& name, const std::string& results, const std::string& details = "1 1 1 1 1 1") {
    return "http://" + name + ".example\n" + name + "\n" + details + "\n" + results + "\n";
}

class ReadInfoTest : public ChartTest {
protected:
    void Load(const std::string& data) {
        dir.Write("data", data);
        ReadInfo();
    }
};

const std::string kOneAndTwo = Record("one", "a b c d e f g") + "\n" + Record("two", "A  B") + "\n";

TEST_F(ReadInfoTest, RecordsFillRowsInFileOrder) {
    Load(kOneAndTwo);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(1), (Cells{"one", "a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(Row(2), (Cells{"two", "A", "", "B", "", "", "", ""}));
    EXPECT_EQ(tables.ProductUrl(2), "http://two.example");
    EXPECT_EQ(tables.ProductDetail(1), "1 1 1 1 1 1");
    EXPECT_TRUE(rec.Log().empty());
}

// The last record needs no empty line; a fifth line is ignored; words beyond
// the seventh go to hidden columns; a trailing space is one more cell.
TEST_F(ReadInfoTest, ReloadReadsLooseRecordEndsAndHiddenColumns) {
    Load(kOneAndTwo);
    Load(Record("one", "1 2 3 4 5 6 7 8 9") + "fifth line\n\n" + "http://two.example\ntwo\nd\nx ");
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(8, 1), "8");
    EXPECT_EQ(grid.Cell(9, 1), "9");
    EXPECT_EQ(grid.Cell(0, 2), "two");
    EXPECT_EQ(grid.Cell(1, 2), "x");
    EXPECT_EQ(grid.Cell(3, 2), "B");  // right of the new last word: the old text stays
}

// Hidden columns are kept up to a bound; the words past it are not stored.
TEST_F(ReadInfoTest, HiddenColumnsStopAtTheirBound) {
    std::string manyWords = "r";
    for (int word = 2; word <= 100000; ++word) manyWords += " w" + std::to_string(word);
    Load(Record("one", manyWords));
    EXPECT_EQ(grid.Cell(kStoredResultColumns - 1, 1), "w63");
    EXPECT_EQ(grid.Cell(kStoredResultColumns, 1), "");
}

TEST_F(ReadInfoTest, ShortRecordsDoNotAdvanceTheRecordNumber) {
    Load("http://lost.example\nLost\n\n" + Record("kept", "k"));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(1)[0], "kept");
    EXPECT_EQ(tables.ProductUrl(1), "http://kept.example");
}

TEST_F(ReadInfoTest, ReloadOverwritesOnlyWhatTheNewFileNames) {
    Load(Record("one", "a b c d e f g") + "\n" + Record("two", "h i") + "\n" + Record("three", "j"));
    Load(Record("uno", "x y"));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(1), (Cells{"uno", "x", "y", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(tables.ProductUrl(3), "http://three.example");
    EXPECT_EQ(grid.Cell(0, 3), "three");  // kept, shown again if the rows come back
}

TEST_F(ReadInfoTest, EmptyFileLosesTheFixedRowAndTheNextLoadRestoresIt) {
    Load("");
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.Row(), 0);

    Load(Record("one", "a") + "\n" + Record("two", "b"));
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(0, 1), "one");
    EXPECT_EQ(grid.Cell(0, 2), "two");
    EXPECT_TRUE(rec.Log().empty());
}

TEST_F(ReadInfoTest, RecordWithEmptyFourthLineIsAProgramWithoutResults) {
    Load(Record("one", "a b c d e f g") + "\n" + Record("two", "h"));
    Load(Record("one", "") + Record("two", "z"));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(1), (Cells{"one", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(2)[0], "two");
    EXPECT_EQ(Row(2)[1], "z");
    EXPECT_TRUE(rec.Log().empty());
}

TEST_F(ReadInfoTest, RecordsBeyondTheFiftiethAreIgnored) {
    std::string data;
    for (int r = 1; r <= kMaxPrograms + 2; ++r) data += Record("p" + std::to_string(r), "r") + "\n";
    Load(data);
    EXPECT_EQ(grid.RowCount(), kMaxPrograms + 1);
    EXPECT_EQ(grid.Cell(0, 50), "p50");
    EXPECT_EQ(grid.Cell(0, 51), "");
    EXPECT_EQ(grid.Cell(1, 51), "");
    EXPECT_TRUE(rec.Log().empty());
}

TEST_F(ReadInfoTest, UnreadableFileDisablesTheGridAndKeepsTheRows) {
    Load(Record("one", "a") + "\n" + Record("two", "b"));
    std::filesystem::remove(dir.Path() + "/data");
    std::filesystem::create_directory(dir.Path() + "/data");
    const ChartLoad load = ReadInfo();
    EXPECT_EQ(load.messages, Log{kNoDataFileMessage});
    EXPECT_FALSE(load.enabled);
    EXPECT_FALSE(load.data);
    EXPECT_EQ(grid.RowCount(), 3);
}

// A reload shrinks the rows first, which moves the current cell and runs the
// selection handler before any slot is overwritten.
class ReloadMovingTheCurrentCellTest : public ReadInfoTest {
protected:
    void SetUp() override {
        dir.Write("policy", "Title\nc1\n\n");
        ReadPolicy();
    }
};

TEST_F(ReloadMovingTheCurrentCellTest, RunsTheHandlerButOpensNothing) {
    Load(Record("one", "a") + "\n" + Record("two", "b") + "\n" + Record("three", "c") + "\n" + Record("four", "d"));
    grid.SelectCell(0, 4);
    rec.events.clear();

    Load(Record("new", "n"));
    EXPECT_TRUE(rec.Log().empty());  // slot 1's old address is not opened
    EXPECT_EQ(grid.Row(), 1);
}

TEST_F(ReloadMovingTheCurrentCellTest, ShowsTheDetailsOfTheRowBeforeTheReload) {
    Load(Record("one", "a") + "\n" + Record("two", "b") + "\n" + Record("three", "c"));
    grid.SelectCell(1, 3);
    rec.panel = "stale";
    Load(Record("new", "n", "0"));
    EXPECT_EQ(rec.panel, "Title\r\nc1: YES\r\n\r\n");  // row 1's details before the reload
    EXPECT_EQ(tables.ProductDetail(1), "0");
}

// A bad count during the load leaves the panel empty; the load goes on.
TEST_F(ReloadMovingTheCurrentCellTest, BadCountLeavesThePanelEmptyAndTheLoadGoesOn) {
    Load(Record("one", "a") + "\n" + Record("two", "b"));
    grid.SelectCell(1, 2);
    rec.panel = "stale";
    tables.SetTestPolicy(1, 0, "many");
    Load(Record("fresh", "f"));
    EXPECT_EQ(rec.panel, "");
    EXPECT_TRUE(rec.Log().empty());
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "fresh");
}

// A policy file (or two, read one after the other) and the slots it leaves.
struct PolicyCase {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::tuple<int, int, std::string>> slots;  // test, slot, text
};

void PrintTo(const PolicyCase& c, std::ostream* os) { *os << c.name; }

std::string TooManyTestsAfterTooManySubCriteria() {
    std::string big = "Big\n";
    for (int m = 1; m <= 60; ++m) big += "s" + std::to_string(m) + "\n";
    big += "\n";
    for (int j = 1; j <= kTestCount + 2; ++j) big += "T" + std::to_string(j) + "\nc\n\n";
    return big;
}

const PolicyCase kPolicies[] = {
    {"CountsSubCriteriaAndTitles",
     {"T1\na\n\nT2\nb\nc\nd\n\nT3\n\n"},
     {{1, 0, "1"}, {1, 2, "T1"}, {2, 0, "3"}, {2, 3, "d"}, {2, 4, "T2"}, {3, 0, "0"}, {3, 1, "T3"}}},
    {"LastRecordWithoutEmptyLineKeepsOldCountAndTitle",
     {"T1\na\n\nT2\nb\nc\n\n", "N1\nx\n\nN2\ny\nz"},
     {{2, 1, "y"}, {2, 2, "z"}, {2, 0, "2"}, {2, 3, "T2"}}},
    // "-1" then the previous title both go to slot 0 of test 2.
    {"DoubleEmptyLineUsesUpATestWithThePreviousTitle",
     {"T1\na\n\n\nT3\nb\n\n"},
     {{2, 0, "T1"}, {3, 0, "1"}, {3, 2, "T3"}}},
    {"RecordsAndSubCriteriaBeyondTheTablesAreIgnored",
     {TooManyTestsAfterTooManySubCriteria()},
     {{1, 0, "49"}, {1, 49, "s49"}, {1, 50, "Big"}, {6, 2, "T5"}}},
};

class ReadPolicyTest : public ChartTest, public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(ReadPolicyTest, FileFillsTheSlots) {
    for (const std::string& file : GetParam().files) {
        dir.Write("policy", file);
        ReadPolicy();
    }
    for (const auto& [test, slot, text] : GetParam().slots) {
        EXPECT_EQ(tables.TestPolicy(test, slot), text) << "test " << test << ", slot " << slot;
    }
    EXPECT_TRUE(rec.Log().empty());
}


// What a load leaves of each file: the two version strings, the grid's rows
// (one more than the complete program records read), and the tests whose
// count was stored (their record ended with its empty line after a title).
struct LoadCase {
    const char* what;
    std::optional<std::string> version, data, policy;  // none: no such file
    std::string latest, required;
    int rows;
    int tests;
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.what; }

class LoadEffectsTest : public ChartTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadEffectsTest, LeaveWhatWasRead) {
    const LoadCase& c = GetParam();
    if (c.version) dir.Write("version", *c.version);
    if (c.data) dir.Write("data", *c.data);
    if (c.policy) dir.Write("policy", *c.policy);
    form.ReadAll(Files());
    EXPECT_EQ(tables.LatestVersion, c.latest);
    EXPECT_EQ(tables.RequiredVersion, c.required);
    EXPECT_EQ(grid.RowCount(), c.rows);
    int tests = 0;
    for (int test = 1; test <= kTestCount; ++test) tests += ascii::IsDigits(tables.TestPolicy(test, 0));
    EXPECT_EQ(tests, c.tests);
}

std::string Records(int count) {
    std::string data;
    for (int r = 1; r <= count; ++r) data += Record("p" + std::to_string(r), "r") + "\n";
    return data;
}

const std::string kChart = Record("one", "a");
const std::string kTests = "T1\na\n\n";

INSTANTIATE_TEST_SUITE_P(Files, LoadEffectsTest, ::testing::Values(
    LoadCase{"NoFiles", {}, {}, {}, "", "", GridModel::kDefaultRowCount, 0},
    LoadCase{"EmptyFiles", "", "", "", "", "", 1, 0},
    LoadCase{"OneOfEach", "10\n", kChart, kTests, "10", "", 2, 1},
    LoadCase{"VersionLinesPastTheSecond", "11\n10\nmore\n", kChart, kTests, "11", "10", 2, 1},
    LoadCase{"EmptyVersionLines", "\n\n", kChart, kTests, "", "", 2, 1},
    LoadCase{"NewerRequiredStopsBeforeTheChart", "10\n11\n", kChart, kTests, "10", "11", GridModel::kDefaultRowCount, 0},
    LoadCase{"ShortAndResultlessRecords", "10\n", "http://lost.example\nLost\n\n" + Record("two", "") + Record("three", "z"),
             kTests, "10", "", 3, 1},
    LoadCase{"CtrlZStopsTheReaders", "1\x1A" "0\n", kChart + "\x1A\n" + kChart, "T1\n\x1A\n\n", "1", "", 2, 0},
    LoadCase{"RecordsPastTheTables", "10\n", Records(kMaxPrograms + 2), kTests, "10", "", kMaxPrograms + 1, 1},
    LoadCase{"EmptyAndUnendedPolicyRecords", "10\n", kChart, "\n" + kTests + "\n" + "T4\nb", "10", "", 2, 1},
    LoadCase{"CompleteTestsPastTheSixthAreNotStored", "10\n", kChart, std::string(kTestCount, '\n') + kTests + kTests,
             "10", "", 2, 0},
    LoadCase{"MissingPolicy", "10\n", kChart, {}, "10", "", 2, 0}),
    [](const auto& info) { return std::string(info.param.what); });

INSTANTIATE_TEST_SUITE_P(Files, ReadPolicyTest, ::testing::ValuesIn(kPolicies),
                         [](const auto& info) { return std::string(info.param.name); });

// The test a double empty line used up has no count to give hints by.
TEST_F(ChartTest, PolicyTestUsedUpByADoubleEmptyLineHasNoHints) {
    dir.Write("policy", "T1\na\n\n\nT3\nb\n\n");
    ReadPolicy();
    EXPECT_THROW(form.GetHintForTest(1, 2), ConversionError);
}

}  // namespace
}  // namespace chart
