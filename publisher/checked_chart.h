#pragma once
// A chart as the check holds it: each file's bytes, what the chart core's
// readers made of them (tables, grid, each test's count), and the findings
// so far. The checks of each file add to it.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "chart/files/chart_file_set.h"
#include "chart/tables/chart_tables.h"
#include "chart/tables/grid_model.h"
#include "publisher/finding.h"

namespace publisher {

using chart::kData;
using chart::kPolicy;
using chart::kVersion;

struct CheckedChart {
    std::array<std::string, 3> names;                   // as found in the folder
    std::array<std::optional<std::string>, 3> bytes;    // none: unreadable
    chart::ChartTables tables;
    chart::GridModel grid;
    // Each test's count of sub-criteria as a selection converts it (at most
    // the 49 the tables hold); none where the conversion fails.
    std::array<std::optional<long long>, chart::kTestCount + 1> counts;
    // What the grid shows of a cell in column col when it cuts it.
    std::function<std::optional<std::string>(int col, std::string_view cell)> gridCut;
    // Whether the chart readers update from is known (--served): then what
    // they keep of it is told as it is, and a results line short of words is
    // no error in itself.
    bool servedKnown = false;
    // Where each program's record begins (by grid row, from 1), and each
    // test's record (by column): where a finding about them points.
    std::vector<long long> recordLines = std::vector<long long>(chart::kMaxPrograms + 1, 0);
    std::array<long long, chart::kTestCount + 1> testLines{};
    Findings findings;

    // message: the text, or what makes it (made only when the finding is shown).
    template <typename Message>
    void Add(std::size_t file, long long line, Severity severity, std::string_view kind, Message&& message) {
        if (!findings.Take(kind, severity)) return;
        if constexpr (std::is_invocable_v<Message>)
            findings.Show({names[file], line, severity, message()});
        else
            findings.Show({names[file], line, severity, std::string(std::forward<Message>(message))});
    }
    // The title of test col as the details show it, or its column's heading
    // when it has none.
    std::string TestName(int col) const;
    // A warning when shown text holds characters readers cannot see as they
    // stand; what() names it ("the name"), made only then.
    template <typename What>
    void CheckUnseen(std::size_t file, long long line, What&& what, std::string_view text) {
        if (MayHoldUnseen(text)) ReportUnseen(file, line, what(), text);
    }

private:
    static bool MayHoldUnseen(std::string_view text);
    void ReportUnseen(std::size_t file, long long line, const std::string& what, std::string_view text);
};

// The details word of test col for the program in grid row `row`, without the
// space that ends it.
std::string_view FlagsWord(const chart::ChartTables& tables, int row, int col);

// "1 line", "2 lines".
std::string Plural(long long count, const char* one, const char* many);

// "'a'", "'a' and 'b'", "'a', 'b' and 'c'".
std::string Joined(const std::vector<std::string>& items);

}  // namespace publisher
