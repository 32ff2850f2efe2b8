#pragma once
// The compare window's model: programs sorted by any column, kept or ruled out
// by Find and the must-haves, counted, and shortlisted to be put side by side.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/compare/compare_chart.h"
#include "chart/compare/compare_choices.h"

namespace chart {

// At most this many programs side by side.
inline constexpr int kMaxShortlist = 5;
// Why a sixth is refused.
inline constexpr const char* kShortlistFullMessage =
    "Five programs are side by side already: take one off the shortlist to add another.";

// A must-have's state in the tree of tests: a test's box shows whether all,
// some or none of its sub-criteria are checked.
enum class CheckState { Unchecked, PartlyChecked, Checked };

// The must-have that rules a program out: the first of the reader's, in
// the tests' order, that the program does not answer YES.
struct RuledOut {
    int test = 0;
    int subCriterion = 0;
    Answer answer = Answer::NotApplicable;  // NO or N/A
};

// Plain data in and out, each question cheap to ask per row and column, so
// that the window's own models and views can draw it; the reader's choices
// outlive a reload by who each program is.
class CompareModel {
public:
    // Orders two names as shown (UTF-8): less than zero when a comes first.
    using NameComparison = std::function<int(std::string_view a, std::string_view b)>;

    explicit CompareModel(const ShownChart& chart);

    const CompareChart& Chart() const { return chart_; }

    // Sorting. column: 0 the names, 1 to 7 the results, -1 the grid's order.
    // Results sort as numbers, names by their letters with case folded
    // (FoldCase; code point order, no locale) unless the window gives a
    // comparison of its own. What has nothing to sort by (a result that is
    // no number, a blank name) comes last in both orders; ties keep the
    // grid's order.
    void SortBy(int column, SortOrder order);
    int SortColumn() const { return sortColumn_; }
    SortOrder Order() const { return order_; }
    void SetNameComparison(NameComparison comparison);
    // Whether program a comes before b in that order (a strict weak order;
    // neither before the other is a tie). A view that sorts descending by
    // turning an ascending comparison around (as Qt's sort proxy does) asks
    // for the descending order with a and b swapped, so that what has
    // nothing to sort by still comes last.
    bool Before(int column, SortOrder order, int a, int b) const;

    // Find: names as shown that contain the typed text (UTF-8, read as a
    // name is), case folded.
    void SetFind(std::string_view typed);
    const std::string& Find() const { return find_; }
    bool MatchesFind(int p) const;

    // Must-haves: test 1 to 6, subCriterion from 1. Checking a test checks
    // all its sub-criteria; a test without sub-criteria has none to check.
    void SetMustHave(int test, int subCriterion, bool checked);
    void SetTestMustHave(int test, bool checked);
    bool MustHave(int test, int subCriterion) const;
    CheckState TestMustHave(int test) const;
    std::optional<RuledOut> RuledOutBy(int p) const;
    // One line saying why, e.g. "Ruled out: Log encryption (Security) is NO"; "" when kept by them.
    std::string RuledOutLine(int p) const;

    // Kept by Find and the must-haves.
    bool Kept(int p) const { return kept_[static_cast<std::size_t>(p)]; }
    // The programs kept, in the sort order: what the window lists and the CSV holds.
    const std::vector<int>& View() const { return view_; }
    // "12 of 50 programs".
    std::string CountText() const;

    // The shortlist, in the order the reader made it. Taking one more than
    // kMaxShortlist is refused: the answer says why ("" when done).
    std::string SetShortlisted(int p, bool shortlisted);
    bool Shortlisted(int p) const;
    const std::vector<int>& Shortlist() const { return shortlist_; }

    // After a reload: the sort, Find, shortlist and must-haves of the model
    // of the chart before, programs found by who they are (MatchPrograms),
    // sub-criteria by test and name. Says, one line each, what was lost.
    std::vector<std::string> KeepChoicesOf(const CompareModel& before);
    // For the next start.
    CompareChoices Choices() const;
    std::vector<std::string> Apply(const CompareChoices& choices);

private:
    bool& MustHaveSlot(int test, int subCriterion);
    std::optional<int> FindSubCriterion(const SubCriterionKey& key) const;
    SubCriterionKey KeyOf(int test, int subCriterion) const;
    void Refresh();

    CompareChart chart_;
    int sortColumn_ = -1;
    SortOrder order_ = SortOrder::Ascending;
    NameComparison nameComparison_;
    std::string find_;
    std::string foldedFind_;
    std::array<std::array<bool, kMaxSubCriteria>, kTestCount> mustHaves_{};
    std::vector<bool> kept_;
    std::vector<int> view_;
    std::vector<int> shortlist_;
};

}  // namespace chart
