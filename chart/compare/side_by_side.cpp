// The shortlisted programs side by side, row by row, each row marked where they differ.
#include "chart/compare/side_by_side.h"

#include <algorithm>
#include <iterator>

namespace chart {

SideBySide::SideBySide(const CompareChart& chart, std::vector<int> programs)
    : chart_(chart), programs_(std::move(programs)) {
    const auto differs = [&](const SideBySideRow& row) {
        for (int column = 1; column < Columns(); ++column)
            if (Text(row, column) != Text(row, 0)) return true;
        return false;
    };
    for (int test = 1; test <= kTestCount + 1; ++test) {
        testLabels_.push_back(test <= kTestCount ? chart.TestLabel(test) : CompareChart::ColumnHeading(test));
        const int subCriteria = test <= kTestCount ? chart.SubCriteria(test) : 0;
        for (int m = 0; m <= subCriteria; ++m) {
            SideBySideRow row{test, m};
            row.differs = differs(row);
            rows_.push_back(row);
        }
    }
}

std::vector<SideBySideRow> SideBySide::Rows(bool differencesOnly) const {
    if (!differencesOnly) return rows_;
    const auto differs = [](const SideBySideRow& row) { return row.differs; };
    std::vector<SideBySideRow> rows;
    for (auto heading = rows_.begin(); heading != rows_.end();) {
        const auto end = std::find_if(heading + 1, rows_.end(), [](const auto& row) { return row.subCriterion == 0; });
        if (heading->differs || std::any_of(heading + 1, end, differs)) rows.push_back(*heading);
        std::copy_if(heading + 1, end, std::back_inserter(rows), differs);
        heading = end;
    }
    return rows;
}

std::string_view SideBySide::Label(const SideBySideRow& row) const {
    if (row.subCriterion == 0) return testLabels_[static_cast<std::size_t>(row.test - 1)];
    return chart_.Test(row.test).subCriteria[static_cast<std::size_t>(row.subCriterion - 1)];
}

std::string_view SideBySide::Text(const SideBySideRow& row, int column) const {
    const int p = ProgramIn(column);
    if (row.subCriterion == 0) return chart_.Cell(p, row.test);
    return AnswerText(chart_.AnswerTo(p, row.test, row.subCriterion));
}

}  // namespace chart
