// A test's details and a name's page: the integer conversion, the details text, the addresses opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "chart/details/conversion_error.h"
#include "chart/details/details_text.h"
#include "chart/details/integer_conversion.h"
#include "chart_fixture.h"

namespace chart {
namespace {

using chart_test::ChartTest;
using Log = std::vector<std::string>;

TEST(IntegerConversion, AcceptedForms) {
    const std::pair<const char*, int> accepted[] = {
        {"0", 0},         {" 42", 42},      {"+7", 7},          {"$1F", 31},          {"x1f", 31},
        {"-0x10", -16},   {"0X10", 16},     {"-2147483648", INT_MIN}, {"2147483647", INT_MAX},
        {"$FFFFFFFF", -1}, {"-$FFFFFFFF", 1}, {"-$80000000", INT_MIN}, {"$000000001", 1},
    };
    for (const auto& [text, value] : accepted) {
        try {
            EXPECT_EQ(ToInteger(text), value) << "'" << text << "'";
        } catch (const ConversionError& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST(IntegerConversion, RejectedFormsNameTheText) {
    for (const char* text : {"", "42 ", "2147483648", "-2147483649", "$100000000", "0x", "$", "+", "-",
                             "1e3", "\t1", "- 1", "$-1", "0x0x1", "12a"}) {
        try {
            ToInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

class DetailsTest : public ChartTest {
protected:
    void SetUp() override {
        tables.SetProductDetail(1, "110 1 01");
        SetTest(1, "T1", {"A", "B", "C"});
        SetTest(2, "T2", {"A", "B"});
        SetTest(3, "T3", {"A", "B", "C"});
        SetTest(4, "T4", {});
        SetTest(5, "T5", {"A"});
        SetTest(6, "T6", {"A"});
        grid.SetRowCount(5);
    }
    void SetTest(int test, const std::string& title, const std::vector<std::string>& subCriteria) {
        const int n = static_cast<int>(subCriteria.size());
        tables.SetTestPolicy(test, 0, std::to_string(n));
        for (int m = 1; m <= n; ++m) tables.SetTestPolicy(test, m, subCriteria[m - 1]);
        tables.SetTestPolicy(test, n + 1, title);
    }
};

TEST_F(DetailsTest, TokenIsTheWordWithItsEndingSpace) {
    EXPECT_EQ(form.GetHintForTest(1, 1), "T1\r\nA: YES\r\nB: YES\r\nC: NO\r\n\r\n");
    EXPECT_EQ(form.GetHintForTest(1, 2), "T2\r\nA: YES\r\nB: N/A\r\n\r\n");
    EXPECT_EQ(form.GetHintForTest(1, 3), "T3\r\nA: NO\r\nB: YES\r\nC: N/A\r\n\r\n");
    EXPECT_EQ(form.GetHintForTest(1, 4), "T4\r\n\r\n");
    // Fewer words than the column, or no details at all: every answer N/A.
    EXPECT_EQ(form.GetHintForTest(1, 5), "T5\r\nA: N/A\r\n\r\n");
    EXPECT_EQ(form.GetHintForTest(2, 1), "T1\r\nA: N/A\r\nB: N/A\r\nC: N/A\r\n\r\n");
}

// The token at the edges of a line: runs of spaces, a trailing space, too few words.
TEST(DetailsToken, EdgesOfTheLine) {
    const struct {
        const char* line;
        int col;
        const char* token;
    } rows[] = {
        {"10 1 01", 1, "10 "}, {"10 1 01", 3, "01"}, {"10 1 01", 4, ""}, {"10 1 01", 0, ""},
        {"a  b", 2, " "},      {"a  b", 3, "b"},     {"a ", 1, "a "},     {"a ", 2, ""},
        {"", 1, ""},           {" ", 1, " "},        {"ab", 1, "ab"},
    };
    for (const auto& row : rows) EXPECT_EQ(DetailsToken(row.line, row.col), row.token) << row.line << " " << row.col;
}

TEST_F(DetailsTest, CountOutsideTheTableReadsOnlyTableSlots) {
    tables.SetTestPolicy(1, 0, "2147483647");
    const std::string text = form.GetHintForTest(1, 1);
    EXPECT_EQ(text.substr(0, 2), "\r\n");  // the title slot lies outside: empty
    EXPECT_LT(text.size(), 1000u);
    EXPECT_EQ(text.substr(2, 39), "A: YES\r\nB: YES\r\nC: NO\r\nT1: N/A\r\n: N/A\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + (kPolicySlots - 1) + 1);

    tables.SetTestPolicy(1, 0, "-5");
    EXPECT_EQ(form.GetHintForTest(1, 1), "\r\n\r\n");
    tables.SetTestPolicy(1, 0, "-1");  // title slot 0: the count itself
    EXPECT_EQ(form.GetHintForTest(1, 1), "-1\r\n\r\n");
}

TEST_F(DetailsTest, TestCellShowsItsDetailsAndEmptyCountIsAnError) {
    grid.SelectCell(1, 1);
    EXPECT_EQ(rec.panel, "T1\r\nA: YES\r\nB: YES\r\nC: NO\r\n\r\n");
    rec.panel = "typed";
    grid.SelectCell(1, 1);  // the same cell again: cleared and written again
    EXPECT_EQ(rec.panel, "T1\r\nA: YES\r\nB: YES\r\nC: NO\r\n\r\n");

    tables.SetTestPolicy(2, 0, "");
    try {
        grid.SelectCell(2, 2);
        ADD_FAILURE() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(rec.panel, "");
    EXPECT_EQ(grid.Col(), 1);  // the move did not happen
}

TEST_F(DetailsTest, TotalColumnAppendsTheSixBlocksInOrder) {
    grid.SelectCell(7, 1);
    std::string all;
    for (int m = 1; m <= 6; ++m) all += form.GetHintForTest(1, m);
    EXPECT_EQ(rec.panel, all);

    tables.SetTestPolicy(3, 0, "bad");
    EXPECT_THROW(grid.SelectCell(7, 1), ConversionError);
    EXPECT_EQ(rec.panel, form.GetHintForTest(1, 1) + form.GetHintForTest(1, 2));
}

TEST_F(DetailsTest, NameColumnOpensOnlyWebAddresses) {
    tables.SetProductUrl(3, "http://three.example");
    tables.SetProductUrl(4, "HTTPS://four.example/x");
    grid.SelectCell(0, 3);
    grid.SelectCell(0, 3);
    grid.SelectCell(0, 4);
    EXPECT_EQ(rec.Log(), (Log{"open: http://three.example", "open: http://three.example",
                            "open: HTTPS://four.example/x"}));

    for (const char* address : {"", "file:///etc/passwd", "/usr/bin/xterm", "javascript:alert(1)", "http:/x"}) {
        rec.events.clear();
        tables.SetProductUrl(2, address);
        grid.SelectCell(0, 2);
        EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNotWebAddressMessage + address});
        EXPECT_EQ(rec.panel, "");
    }
}

TEST_F(DetailsTest, NameColumnOpensTheChartsBytesOrRefusesOutLoud) {
    struct Case {
        std::string chart;
        std::string opened;  // empty: refused with the not-a-web-address box
    };
    const Case cases[] = {
        {"http://a.example/caf\xE9", "http://a.example/caf%E9"},  // each byte as it is
        {"http://a.example/caf\xC3\xA9", "http://a.example/caf%C3%A9"},
        {"http://a.example/a%41b%", "http://a.example/a%41b%25"},  // escapes kept, a stray % escaped
        {"http://a.example/%zz%4", "http://a.example/%25zz%254"},
        {"http://a.example/\"q\"<>^`{|}", "http://a.example/%22q%22%3C%3E%5E%60%7B%7C%7D"},
        {" \thttp://a.example/x?q=1#top\t ", "http://a.example/x?q=1#top"},
        {"HTTP://user:pw@A.example:8080/p;x=1?a=b&c=d#f/?", "HTTP://user:pw@A.example:8080/p;x=1?a=b&c=d#f/?"},
        {"http://[::1]:65535/", "http://[::1]:65535/"},
        {"http://a.example\\@evil.example/", ""},
        {"http://exa mple.com/", ""},
        {"http://a.example/\x7F", ""},
        {std::string("http://a.example/\0", 18), ""},
        {"http://a.example:99999/", ""},
        {"http://a.example:8o/", ""},
        {"http:///path", ""},
        {"http://@/", ""},
        {"http://a.example/x[1]", ""},
        {"http://a.example/#a#b", ""},
        {" file:///etc/passwd", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chart);
        rec.events.clear();
        tables.SetProductUrl(2, c.chart);
        grid.SelectCell(0, 2);
        EXPECT_EQ(rec.Log(), Log{c.opened.empty() ? "message: " + std::string(kNotWebAddressMessage) + c.chart
                                                : "open: " + c.opened});
    }
}

TEST_F(DetailsTest, WheelInTheNameColumnOpensTheNextPage) {
    tables.SetProductUrl(2, "http://two.example");
    tables.SetProductUrl(3, "http://three.example");
    grid.SelectCell(0, 1);
    rec.events.clear();
    grid.Wheel(-240);
    EXPECT_EQ(rec.Log(), (Log{"open: http://two.example", "open: http://three.example"}));
}

TEST_F(DetailsTest, RowWithoutTableSlotShowsAndOpensNothing) {
    grid.SetRowCount(1);  // the fixed row is lost; row 0 becomes selectable
    tables.SetProductUrl(1, "http://one.example");
    rec.panel = "typed";
    for (int col : {0, 1, 7}) grid.SelectCell(col, 0);
    EXPECT_TRUE(rec.Log().empty());
    EXPECT_EQ(rec.panel, "");

    bool canSelect = true;
    form.StringGrid1SelectCell(0, kMaxPrograms + 1, canSelect);
    EXPECT_TRUE(rec.Log().empty());
    EXPECT_TRUE(canSelect);
}

}  // namespace
}  // namespace chart
