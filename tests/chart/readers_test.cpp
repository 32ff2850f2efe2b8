#include <gtest/gtest.h>

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
        form.ReadInfo("data", grid);
    }
};

TEST_F(ReadInfoTest, RecordsFillRowsInFileOrder) {
    Load(Record("one", "a b c d e f g") + "\n" + Record("two", "A  B") + "\n");
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(1), (Cells{"one", "a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(Row(2), (Cells{"two", "A", "", "B", "", "", "", ""}));
    EXPECT_EQ(tables.ProductUrl(2), "http://two.example");
    EXPECT_EQ(tables.ProductDetail(1), "1 1 1 1 1 1");
    EXPECT_TRUE(rec.log.empty());

    // The last record needs no empty line; a fifth line is ignored; words
    // beyond the seventh go to hidden columns; a trailing space is one more cell.
    Load(Record("one", "1 2 3 4 5 6 7 8 9") + "fifth line\n\n" + "http://two.example\ntwo\nd\nx ");
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(8, 1), "8");
    EXPECT_EQ(grid.Cell(9, 1), "9");
    EXPECT_EQ(grid.Cell(0, 2), "two");
    EXPECT_EQ(grid.Cell(1, 2), "x");
    EXPECT_EQ(grid.Cell(3, 2), "B");  // right of the new last word: the old text stays

    // Hidden columns are kept up to a bound; the words past it are not stored.
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
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ReadInfoTest, RecordWithEmptyFourthLineIsAProgramWithoutResults) {
    Load(Record("one", "a b c d e f g") + "\n" + Record("two", "h"));
    Load(Record("one", "") + Record("two", "z"));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(1), (Cells{"one", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(2)[0], "two");
    EXPECT_EQ(Row(2)[1], "z");
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ReadInfoTest, RecordsBeyondTheFiftiethAreIgnored) {
    std::string data;
    for (int r = 1; r <= kMaxPrograms + 2; ++r) data += Record("p" + std::to_string(r), "r") + "\n";
    Load(data);
    EXPECT_EQ(grid.RowCount(), kMaxPrograms + 1);
    EXPECT_EQ(grid.Cell(0, 50), "p50");
    EXPECT_EQ(grid.Cell(0, 51), "");
    EXPECT_EQ(grid.Cell(1, 51), "");
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ReadInfoTest, UnreadableFileDisablesTheGridAndKeepsTheRows) {
    Load(Record("one", "a") + "\n" + Record("two", "b"));
    std::filesystem::remove(dir.Path() + "/data");
    std::filesystem::create_directory(dir.Path() + "/data");
    form.ReadInfo("data", grid);
    EXPECT_EQ(rec.log, Log{std::string("message: ") + kNoDataFileMessage});
    EXPECT_FALSE(grid.Enabled());
    EXPECT_EQ(grid.RowCount(), 3);
}

// A reload shrinks the rows first, which moves the current cell and runs the
// selection handler before any slot is overwritten.
TEST_F(ReadInfoTest, ReloadMovingTheCurrentCellRunsTheHandlerButOpensNothing) {
    dir.Write("policy", "Title\nc1\n\n");
    form.ReadPolicy("policy");
    Load(Record("one", "a") + "\n" + Record("two", "b") + "\n" + Record("three", "c") + "\n" + Record("four", "d"));
    grid.SelectCell(0, 4);
    rec.log.clear();

    Load(Record("new", "n"));
    EXPECT_TRUE(rec.log.empty());  // slot 1's old address is not opened
    EXPECT_EQ(grid.Row(), 1);

    Load(Record("one", "a") + "\n" + Record("two", "b") + "\n" + Record("three", "c"));
    grid.SelectCell(1, 3);
    rec.panel = "stale";
    Load(Record("new", "n", "0"));
    EXPECT_EQ(rec.panel, "Title\r\nc1: YES\r\n\r\n");  // row 1's details before the reload
    EXPECT_EQ(tables.ProductDetail(1), "0");

    // A bad count during the load leaves the panel empty; the load goes on.
    Load(Record("one", "a") + "\n" + Record("two", "b"));
    grid.SelectCell(1, 2);
    rec.panel = "stale";
    tables.SetTestPolicy(1, 0, "many");
    Load(Record("fresh", "f"));
    EXPECT_EQ(rec.panel, "");
    EXPECT_TRUE(rec.log.empty());
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "fresh");
}

class ReadPolicyTest : public ChartTest {
protected:
    void Load(const std::string& policy) {
        dir.Write("policy", policy);
        form.ReadPolicy("policy");
    }
};

TEST_F(ReadPolicyTest, CountsSubCriteriaAndTitles) {
    Load("T1\na\n\nT2\nb\nc\nd\n\nT3\n\n");
    EXPECT_EQ(tables.TestPolicy(1, 0), "1");
    EXPECT_EQ(tables.TestPolicy(1, 2), "T1");
    EXPECT_EQ(tables.TestPolicy(2, 0), "3");
    EXPECT_EQ(tables.TestPolicy(2, 3), "d");
    EXPECT_EQ(tables.TestPolicy(2, 4), "T2");
    EXPECT_EQ(tables.TestPolicy(3, 0), "0");
    EXPECT_EQ(tables.TestPolicy(3, 1), "T3");
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ReadPolicyTest, LastRecordWithoutEmptyLineKeepsOldCountAndTitle) {
    Load("T1\na\n\nT2\nb\nc\n\n");
    Load("N1\nx\n\nN2\ny\nz");
    EXPECT_EQ(tables.TestPolicy(2, 1), "y");
    EXPECT_EQ(tables.TestPolicy(2, 2), "z");
    EXPECT_EQ(tables.TestPolicy(2, 0), "2");
    EXPECT_EQ(tables.TestPolicy(2, 3), "T2");
}

TEST_F(ReadPolicyTest, DoubleEmptyLineUsesUpATestWithThePreviousTitle) {
    Load("T1\na\n\n\nT3\nb\n\n");
    // "-1" then the previous title both go to slot 0 of test 2.
    EXPECT_EQ(tables.TestPolicy(2, 0), "T1");
    EXPECT_EQ(tables.TestPolicy(3, 0), "1");
    EXPECT_EQ(tables.TestPolicy(3, 2), "T3");
    EXPECT_THROW(form.GetHintForTest(1, 2), ConversionError);
}

TEST_F(ReadPolicyTest, RecordsAndSubCriteriaBeyondTheTablesAreIgnored) {
    std::string policy;
    for (int j = 1; j <= kTestCount + 2; ++j) policy += "T" + std::to_string(j) + "\nc\n\n";
    std::string big = "Big\n";
    for (int m = 1; m <= 60; ++m) big += "s" + std::to_string(m) + "\n";
    Load(big + "\n" + policy);
    EXPECT_EQ(tables.TestPolicy(1, 0), "49");
    EXPECT_EQ(tables.TestPolicy(1, 49), "s49");
    EXPECT_EQ(tables.TestPolicy(1, 50), "Big");
    EXPECT_EQ(tables.TestPolicy(6, 2), "T5");
    EXPECT_TRUE(rec.log.empty());
}

}  // namespace
}  // namespace chart
