#include "publisher/data_findings.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <optional>

#include "chart/chart_form.h"
#include "chart/details/conversion_error.h"
#include "chart/details/integer_conversion.h"
#include "chart/details/web_address.h"
#include "chart/text/ascii.h"

namespace publisher {
namespace {

using chart::GridModel;

constexpr int kTotalColumn = GridModel::kColCount - 1;
constexpr std::size_t kNamesListed = 3;

std::string Plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string TestName(const chart::ChartTables& tables, int col, long long count) {
    const std::string& title = count >= 0 && count + 1 < chart::kPolicySlots
                                   ? tables.TestPolicy(col, static_cast<int>(count + 1))
                                   : std::string();
    return title.empty() ? GridModel::kColumnHeadings[static_cast<std::size_t>(col)] : title;
}

// The record's own faults: no program made, an empty results line, lines
// past the fourth, a program past the grid's last row.
void CheckRecord(CheckedChart& chart, const chart::DataRecordLines& record) {
    if (!record.complete) {
        const std::string lines = Plural(record.count, "line", "lines");
        chart.Add(kData, record.first, Severity::Error,
                  record.ended
                      ? "a record of " + lines + " ends before its results (line 4): it makes no program, " +
                            "and the next record takes its row"
                      : "the file ends " + lines + " into a record, before its results (line 4): " +
                            "it makes no program");
        return;
    }
    if (record.count == 3)
        chart.Add(kData, record.first + 3, Severity::Error,
                  "the fourth line (the results) is empty: " + Quoted(chart.Line(kData, record.first + 1)) +
                      " shows no results");
    if (record.count > 4)
        chart.Add(kData, record.first + 4, Severity::Warning,
                  "lines 5 onward of a record are ignored (" + Plural(record.count - 4, "line", "lines") +
                      ", from " + Quoted(chart.Line(kData, record.first + 4)) +
                      "): is the empty line missing before them?");
    if (record.row == 0)
        chart.Add(kData, record.first + 1, Severity::Warning,
                  "the grid holds " + std::to_string(chart::kMaxPrograms) + " programs: " +
                      Quoted(chart.Line(kData, record.first + 1)) + " is not shown");
}

// The window's message for a refused address, without the line end before the address.
std::string_view RefusedAddressMessage() {
    std::string_view message = chart::kNotWebAddressMessage;
    while (message.ends_with('\r') || message.ends_with('\n')) message.remove_suffix(1);
    return message;
}

void CheckAddress(CheckedChart& chart, long long line, const std::string& address, const std::string& name) {
    const auto opened = chart::AddressToOpen(address);
    if (!opened)
        chart.Add(kData, line, Severity::Warning,
                  "the viewer refuses to open the page address " + Quoted(address) + ": selecting " +
                      Quoted(name) + " shows \"" + std::string(RefusedAddressMessage()) + "\"");
    else if (*opened != address)
        chart.Add(kData, line, Severity::Warning,
                  "the viewer opens the page address " + Quoted(address) + " as " + Quoted(*opened));
}

void CheckResults(CheckedChart& chart, long long line, int row, int results) {
    const GridModel& grid = chart.grid;
    // A results line fills only the cells it has words for: after an Update
    // the cells past its last word keep what the reader's previous chart had.
    if (results < kTotalColumn)
        chart.Add(kData, line, Severity::Warning,
                  Plural(results, "result", "results") + " for 7 columns: readers who update keep their previous " +
                      "chart's texts in " + GridModel::kColumnHeadings[results + 1] +
                      (results + 1 < kTotalColumn ? " to Total" : "") + " of this row");

    for (int col = 1; col <= kTotalColumn; ++col)
        if (chart.cellIsCut && chart.cellIsCut(grid.Cell(col, row)))
            chart.Add(kData, line, Severity::Warning,
                      std::string("the grid cuts the ") + GridModel::kColumnHeadings[col] + " result " +
                          Quoted(grid.Cell(col, row)));

    std::string beyond;
    int hidden = 0;
    for (int col = kTotalColumn + 1; col <= results; ++col) {
        if (grid.Cell(col, row).empty()) continue;
        if (++hidden <= static_cast<int>(kNamesListed)) beyond += (hidden > 1 ? ", " : "") + Quoted(grid.Cell(col, row));
    }
    if (hidden > 0)
        chart.Add(kData, line, Severity::Warning,
                  "results beyond the Total column are never shown: " + beyond +
                      (hidden > static_cast<int>(kNamesListed) ? ", ..." : ""));

    // Only where all seven are numbers: anything else is no sum to check.
    // At most 15 digits each: no sum of them overflows.
    const auto value = [](const std::string& digits) {
        long long number = 0;
        for (const char c : digits) number = number * 10 + (c - '0');
        return number;
    };
    long long sum = 0;
    for (int col = 1; col <= kTotalColumn; ++col) {
        const std::string& cell = grid.Cell(col, row);
        if (!chart::ascii::IsDigits(cell) || cell.size() > 15) return;
        if (col < kTotalColumn) sum += value(cell);
    }
    if (sum != value(grid.Cell(kTotalColumn, row)))
        chart.Add(kData, line, Severity::Warning,
                  "the Total " + grid.Cell(kTotalColumn, row) + " is not the sum of the six results (" +
                      std::to_string(sum) + ")");
}

// Each test's count of sub-criteria, where a selection can convert it (a
// count it cannot is the policy file's fault, told there).
using TestCounts = std::array<std::optional<long long>, chart::kTestCount + 1>;

TestCounts CountsOf(const chart::ChartTables& tables) {
    TestCounts counts;
    for (int col = 1; col <= chart::kTestCount; ++col) {
        try {
            counts[col] = std::min<long long>(chart::ToInteger(tables.TestPolicy(col, 0)), chart::kMaxSubCriteria);
        } catch (const chart::ConversionError&) {
        }
    }
    return counts;
}

// Each test's word of flags against the test's sub-criteria, one character each.
void CheckFlags(CheckedChart& chart, const TestCounts& counts, long long line, int row) {
    const chart::ChartTables& tables = chart.tables;
    for (int col = 1; col < kTotalColumn; ++col) {
        if (!counts[col]) continue;
        const long long count = *counts[col];
        const std::string_view word = FlagsWord(tables, row, col);
        const long long length = static_cast<long long>(word.size());
        if (length == std::max(0LL, count)) continue;
        std::string message = "the flags word " + Quoted(word) + " for " + Quoted(TestName(tables, col, count)) +
                              " has " + Plural(length, "character", "characters") + " for " +
                              Plural(count, "sub-criterion", "sub-criteria") + ": ";
        if (length > count) {
            message += "the last " + std::to_string(length - std::max(0LL, count)) + " never shown";
        } else {
            for (long long m = length + 1; m <= count && m <= length + static_cast<long long>(kNamesListed); ++m)
                message += (m > length + 1 ? ", " : "") + Quoted(tables.TestPolicy(col, static_cast<int>(m)));
            if (count - length > static_cast<long long>(kNamesListed)) message += ", ...";
            message += " answered N/A";
        }
        chart.Add(kData, line, Severity::Warning, message);
    }
}

}  // namespace

void FindDataFaults(CheckedChart& chart) {
    // Names stay in the grid for as long as this runs.
    std::unordered_map<std::string_view, long long> nameLines;
    const TestCounts counts = CountsOf(chart.tables);
    for (const chart::DataRecordLines& record : chart.dataRecords) {
        CheckRecord(chart, record);
        if (record.row == 0) continue;
        const int row = record.row;
        const std::string& name = chart.grid.Cell(0, row);
        const long long nameLine = record.first + 1;

        CheckAddress(chart, record.first, chart.tables.ProductUrl(row), name);
        if (chart::IsWebAddress(name))
            chart.Add(kData, nameLine, Severity::Warning,
                      "the name " + Quoted(name) + " is a web address: has the record a line too many at its top?");
        if (chart.cellIsCut && chart.cellIsCut(name))
            chart.Add(kData, nameLine, Severity::Warning, "the grid cuts the name " + Quoted(name));
        if (const auto [first, added] = nameLines.emplace(name, nameLine); !added)
            chart.Add(kData, nameLine, Severity::Warning,
                      "a second program named " + Quoted(name) + " (the first at line " +
                          std::to_string(first->second) + ")");
        CheckFlags(chart, counts, record.first + 2, row);
        CheckResults(chart, record.first + 3, row, record.results);
    }
}

}  // namespace publisher
