#pragma once
// What readers will see change from one chart to the next, as lines grouped as
// they read them: the publisher's diff prints them, What changed lists them.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "chart/diff/seen_chart.h"

namespace chart {

enum class ChangeKind : unsigned char {
    Heading,  // a group's heading: a program's name and row, or the whole chart
    MessageShown,
    MessageGone,
    CellsSelectable,
    CellsNotSelectable,
    TestTitle,
    TestUnreadable,  // its count is no number: selecting a result shows an error
    TestReadable,
    SubCriterionAdded,
    SubCriterionRemoved,
    Renamed,
    Added,
    Removed,
    Moved,
    PageAddress,
    Result,
    Answer,
};

// The cell a line leads to: col 0 none; row 0 with a test's column: that
// test in whichever program's row the reader is on.
struct LineCell {
    int col = 0;
    int row = 0;
    bool operator==(const LineCell&) const = default;
};

// First the whole chart's lines (what the loading sequence says at start, the
// tests' titles and sub-criteria), then one group per program (as
// MatchPrograms pairs them) in the new chart's order, those removed last; each
// group a heading line (the program's name and row) and its changes: renamed
// first, then added, removed or moved, its page address, and each test's
// result with its answers in the details panel's order, the Total last.
class ChartChanges {
public:
    ChartChanges(std::shared_ptr<const SeenChart> before, std::shared_ptr<const SeenChart> after);

    // Lines, heading lines included.
    std::size_t Lines() const { return lines_.size(); }
    // Changes: lines less the headings.
    std::size_t Count() const { return lines_.size() - groups_.size(); }
    bool Empty() const { return lines_.empty(); }

    ChangeKind Kind(std::size_t line) const { return lines_[line].kind; }
    bool IsHeading(std::size_t line) const { return Kind(line) == ChangeKind::Heading; }
    // The line's words (UTF-8): a heading's program, or a change.
    std::string Text(std::size_t line) const;
    // As printed one under the other: a change indented under its heading.
    std::string Printed(std::size_t line) const;
    // As read on its own: a change after its heading ("Alpha (row 2): Total 21 -> 22").
    std::string Alone(std::size_t line) const;
    LineCell CellOf(std::size_t line) const;

    const SeenChart& Before() const { return *before_; }
    const SeenChart& After() const { return *after_; }

private:
    struct Group {
        int before = -1;  // the program's index in each chart; -1: none (both: the whole chart)
        int after = -1;
    };
    struct Line {
        ChangeKind kind;
        int col = 0;   // the test or result's column; 0 none
        int item = 0;  // a message, or a sub-criterion (from 1) of the chart it is in
        int was = 0;   // an answer's sub-criterion in the chart before
        int group = 0;
    };
    class Builder;

    const Group& GroupOf(std::size_t line) const { return groups_[static_cast<std::size_t>(lines_[line].group)]; }
    std::string Heading(const Group& group) const;

    // A line's words are made when asked for and no line copies a name, so the
    // memory kept is the two charts' and a few bytes a line.
    std::shared_ptr<const SeenChart> before_, after_;
    std::vector<Group> groups_;
    std::vector<Line> lines_;
};

// The changes from `before` to `after` (each kept by the result).
ChartChanges ChangesBetween(std::shared_ptr<const SeenChart> before, std::shared_ptr<const SeenChart> after);
ChartChanges ChangesBetween(const ShownChart& before, const ShownChart& after);

}  // namespace chart
