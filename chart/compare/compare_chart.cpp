// The chart as the compare window shows it, made once for each chart shown.
#include "chart/compare/compare_chart.h"

#include <algorithm>

#include "chart/details/integer_conversion.h"
#include "chart/text/case_fold.h"
#include "chart/text/shown_text.h"

namespace chart {
namespace {

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// As the details panel composes the test: its count, the sub-criteria in
// slots 1 to n, the title in slot n + 1.
CompareTest TestOf(const ChartTables& tables, int test) {
    CompareTest shown;
    const auto count = ParseInteger(tables.TestPolicy(test, 0));
    if (!count) {
        shown.readable = false;
        return shown;
    }
    const long long titleSlot = static_cast<long long>(*count) + 1;
    if (titleSlot >= 0 && titleSlot < kPolicySlots) shown.title = ShownCell(tables.TestPolicy(test, static_cast<int>(titleSlot)));
    const int n = std::clamp(*count, 0, kMaxSubCriteria);
    for (int m = 1; m <= n; ++m) shown.subCriteria.push_back(ShownCell(tables.TestPolicy(test, m)));
    return shown;
}

}  // namespace

CompareChart::CompareChart(const ShownChart& chart) {
    for (int test = 1; test <= kTestCount; ++test) tests_[static_cast<std::size_t>(test - 1)] = TestOf(chart.tables, test);

    programs_.resize(static_cast<std::size_t>(chart.Programs()));
    std::vector<ProgramRecord> records;
    for (int row = 1; row <= chart.Programs(); ++row) {
        CompareProgram& program = programs_[static_cast<std::size_t>(row - 1)];
        program.row = row;
        const ShownChart::Row& cells = chart.rows[static_cast<std::size_t>(row - 1)];
        for (std::size_t column = 0; column < cells.size(); ++column) program.cells[column] = ShownCell(cells[column]);
        program.foldedName = FoldCase(program.cells[kNameColumn]);
        program.blankName = IsBlank(program.cells[kNameColumn]);
        const std::string& flags = chart.tables.ProductDetail(row);
        for (int test = 1; test <= kTestCount; ++test) {
            const std::string_view token = DetailsToken(flags, test);
            auto& answers = program.answers[static_cast<std::size_t>(test - 1)];
            for (int m = 1; m <= kMaxSubCriteria; ++m) answers[static_cast<std::size_t>(m - 1)] = AnswerOf(token, m);
        }
    }
    for (int row = 1; row <= chart.Programs(); ++row)
        records.push_back({chart.tables.ProductUrl(row), programs_[static_cast<std::size_t>(row - 1)].cells[kNameColumn]});
    identities_ = ProgramIdentities(records);
}

std::string CompareChart::TestLabel(int test) const {
    const std::string& title = Test(test).title;
    return IsBlank(title) ? ColumnHeading(test) : title;
}

std::string CompareChart::ProgramLabel(int p) const {
    return Program(p).blankName ? "row " + std::to_string(Program(p).row) : Cell(p, kNameColumn);
}

const char* CompareChart::ColumnHeading(int column) {
    return column == kNameColumn ? "Program" : GridModel::kColumnHeadings[static_cast<std::size_t>(column)];
}

}  // namespace chart
