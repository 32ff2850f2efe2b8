#pragma once
// What a reader chose in the compare window (the sort, the shortlist, the
// must-haves), as plain data the window keeps in the user's settings.
#include <string>
#include <vector>

#include "chart/compare/program_identity.h"

namespace chart {

enum class SortOrder { Ascending, Descending };

// A sub-criterion: its test's column and its name as shown, the n-th of that
// name in the test.
struct SubCriterionKey {
    int test = 0;
    std::string name;
    int ordinal = 1;

    bool operator==(const SubCriterionKey&) const = default;
};

// Programs and sub-criteria are kept by who they are, not by row, so that a
// choice outlives a reload or a new chart.
struct CompareChoices {
    int sortColumn = -1;  // -1: the grid's order
    SortOrder order = SortOrder::Ascending;
    std::vector<ProgramKey> shortlist;
    std::vector<SubCriterionKey> mustHaves;

    bool operator==(const CompareChoices&) const = default;
};

}  // namespace chart
