#pragma once
// The chart as the compare window shows it, made once for each chart shown:
// names and results as the grid shows them, answers as the details panel reads
// the flags, the tests as it names them, and who each program is.
#include <array>
#include <string>
#include <vector>

#include "chart/compare/program_identity.h"
#include "chart/details/details_text.h"
#include "chart/loading/shown_chart.h"

namespace chart {

// The columns: the program, the six tests' results, the Total.
inline constexpr int kCompareColumns = GridModel::kColCount;
inline constexpr int kNameColumn = 0;
inline constexpr int kTotalResultColumn = kCompareColumns - 1;

struct CompareTest {
    std::string title;                     // as shown; the details panel heads the test with it
    std::vector<std::string> subCriteria;  // as shown, in the details panel's order
    // False when the test's count is no number: the details panel shows an
    // error for it, and it has no sub-criteria to answer.
    bool readable = true;
};

struct CompareProgram {
    int row = 0;  // in the grid
    std::array<std::string, kCompareColumns> cells;  // as shown: the name, the results
    std::string foldedName;                          // for Find and the name order
    bool blankName = false;                          // nothing but spaces shown
    std::array<std::array<Answer, kMaxSubCriteria>, kTestCount> answers{};
};

// Keeps no text of the chart beyond what is shown.
class CompareChart {
public:
    explicit CompareChart(const ShownChart& chart);

    int Programs() const { return static_cast<int>(programs_.size()); }
    // p: a program, from 0 in the grid's order.
    const CompareProgram& Program(int p) const { return programs_[static_cast<std::size_t>(p)]; }
    const std::string& Cell(int p, int column) const { return Program(p).cells[static_cast<std::size_t>(column)]; }
    // test: 1 to 6; subCriterion: from 1.
    Answer AnswerTo(int p, int test, int subCriterion) const {
        return Program(p).answers[static_cast<std::size_t>(test - 1)][static_cast<std::size_t>(subCriterion - 1)];
    }
    const CompareTest& Test(int test) const { return tests_[static_cast<std::size_t>(test - 1)]; }
    int SubCriteria(int test) const { return static_cast<int>(Test(test).subCriteria.size()); }

    // What lines name a test by: its title, or its column's heading when the title is blank.
    std::string TestLabel(int test) const;
    // What lines name a program by: its name, or its row when the name is blank.
    std::string ProgramLabel(int p) const;
    // The column's heading ("Program", the tests' headings, "Total").
    static const char* ColumnHeading(int column);

    const ProgramIdentities& Identities() const { return identities_; }

private:
    std::vector<CompareProgram> programs_;
    std::array<CompareTest, kTestCount> tests_;
    ProgramIdentities identities_;
};

}  // namespace chart
