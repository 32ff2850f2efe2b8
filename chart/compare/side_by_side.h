#pragma once
// The shortlisted programs side by side: one column each; one row for each
// test's result and, under it, one for each of its sub-criteria's answers,
// then the Total's row; each row says whether the programs differ in it.
#include <string>
#include <string_view>
#include <vector>

#include "chart/compare/compare_chart.h"

namespace chart {

// Marks a row where the programs differ, in words as well as colour.
inline constexpr const char* kDiffersMark = "differs";
// Shown instead of the rows while fewer than two programs are shortlisted.
inline constexpr const char* kSideBySideNeedsTwo = "Shortlist two to five programs to see them side by side.";

struct SideBySideRow {
    int test = 0;          // 1 to 6, or 7: the Total
    int subCriterion = 0;  // from 1; 0: the test's result, which heads its sub-criteria's rows
    bool differs = false;  // the programs' texts are not all the same

    bool operator==(const SideBySideRow&) const = default;
};

class SideBySide {
public:
    // programs: the shortlist, in its order (programs of the chart, from 0).
    // Reads the chart as asked: it must outlive this.
    SideBySide(const CompareChart& chart, std::vector<int> programs);

    int Columns() const { return static_cast<int>(programs_.size()); }
    int ProgramIn(int column) const { return programs_[static_cast<std::size_t>(column)]; }

    // In the tests' order. With differencesOnly, the rows where all agree
    // are left out, but a test's result row stays above its sub-criteria
    // that differ (it heads them).
    std::vector<SideBySideRow> Rows(bool differencesOnly) const;
    // The row's heading: the test as lines name it, or the sub-criterion's name.
    std::string_view Label(const SideBySideRow& row) const;
    // A result as shown, or an answer ("YES", "NO", "N/A").
    std::string_view Text(const SideBySideRow& row, int column) const;
    // kDiffersMark for a row where the programs differ, "" otherwise.
    static std::string_view Mark(const SideBySideRow& row) { return row.differs ? kDiffersMark : ""; }

private:
    const CompareChart& chart_;
    std::vector<int> programs_;
    std::vector<std::string> testLabels_;
    std::vector<SideBySideRow> rows_;
};

}  // namespace chart
