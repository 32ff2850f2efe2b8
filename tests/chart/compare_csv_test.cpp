// The compare window's CSV read back by another program's CSV reader (Python's
// csv module, csv_reader.py): hostile text comes back as the window shows it,
// formulas with a "'" before them.
#include <gtest/gtest.h>

#include "chart/compare/compare_csv.h"
#include "chart/text/display_limit.h"
#include "shown_chart_loader.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace chart {
namespace {

using Record = std::vector<std::string>;

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : bytes) hex += {digits[c >> 4], digits[c & 15]};
    return hex;
}

// True when the reader reads `csv` as the records expected.
bool ReadsBackAs(const std::string& csv, const std::vector<Record>& records) {
    std::string expected;
    for (const Record& record : records) {
        for (std::size_t i = 0; i < record.size(); ++i) expected += (i ? "," : "") + Hex(record[i]);
        expected += "\n";
    }
    const support::TempDir dir("vantrel-csv");
    dir.Write("view.csv", csv);
    dir.Write("expected", expected);
    return support::RunProgram({"python3", VANTREL_CSV_READER, dir.Path() + "/view.csv", dir.Path() + "/expected"});
}

TEST(CompareCsv, HostileTextComesBackAsShownAndIsNeverRun) {
    CompareModel model(chart_test::LoadShownChart("compare/hostile", "compare"));
    model.SetMustHave(1, 1, true);            // rules out "Comma, Inc. Logger" (its answer is NO)
    model.SortBy(7, SortOrder::Descending);  // the program whose Total is 0 goes last

    const Record ordinary = {"1", "1", "1", "1", "1", "1", "6", "YES"};
    const auto row = [&](const std::string& name, Record results = {}) {
        Record record{name};
        const Record& rest = results.empty() ? ordinary : results;
        record.insert(record.end(), rest.begin(), rest.end());
        return record;
    };
    const std::vector<Record> records = {
        {"Program", "OS support", "Demo version", "Interception", "Log viewing", "Security", "Network options", "Total",
         "OS support: Works on \"Windows\", really"},
        row("Quote \"Monitor\" Pro"),
        row("'+cmd|' /C calc'!A0"),
        row("'-2+3"),
        row("'@SUM(A1:A2)"),
        row("'\tTabbed"),
        row("Logtxt.exe"),                                   // the override left out, as the grid does
        row("Caf\xC3\xA9 Spy \xE2\x80\x9Cquoted\xE2\x80\x9D"),  // from Windows-1252
        row("Two Lines"),                                    // U+2028 shown as a space
        row(std::string(kDisplayTextLimit, 'N') + "\xE2\x80\xA6"),
        row("'=1+1"),  // an override in front of a formula hides it from nobody
        row("'=HYPERLINK(\"http://evil.example/\",\"click\")", {"'=1+1", "-", "-5", "+5", "'@x", "3.5", "0", "YES"}),
    };
    std::string csv = CompareCsv(model);
    EXPECT_EQ(csv.find("\xE2\x80\xAE"), std::string::npos);

    // Fields with line breaks, as any text of the view could hold.
    std::vector<std::string> breaks = {"a\r\nb", "line\nbreak", "cr\rhere", "=\r\n", "\r", ""};
    for (std::size_t i = 0; i < breaks.size(); ++i) csv += (i ? "," : "") + CsvField(breaks[i]);
    csv += "\r\n";
    std::vector<Record> withBreaks = records;
    withBreaks.push_back({"a\r\nb", "line\nbreak", "cr\rhere", "'=\r\n", "'\r", ""});
    EXPECT_TRUE(ReadsBackAs(csv, withBreaks));
}

}  // namespace
}  // namespace chart
