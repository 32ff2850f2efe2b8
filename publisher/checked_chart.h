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
    std::function<bool(std::string_view)> cellIsCut;
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
};

// The details word of test col for the program in grid row `row`, without the
// space that ends it.
std::string_view FlagsWord(const chart::ChartTables& tables, int row, int col);

// "1 line", "2 lines".
std::string Plural(long long count, const char* one, const char* many);

}  // namespace publisher
