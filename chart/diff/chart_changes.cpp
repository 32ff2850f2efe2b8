// What readers will see change between two charts, as lines grouped as they read them.
#include "chart/diff/chart_changes.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "chart/text/quoted.h"

namespace chart {
namespace {

constexpr int kTotalColumn = GridModel::kColCount - 1;

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A result as a line tells it: a blank one said to be so.
std::string Told(const std::string& shown) { return shown.empty() ? "(blank)" : shown; }

// One test's sub-criteria from one chart to the next: the same name is the
// same sub-criterion, the n-th of a name the n-th of it in the other.
struct SubCriteriaPairs {
    std::vector<int> was;      // for each sub-criterion after (from 1, [0] unused): its index before, 0: added
    std::vector<int> removed;  // those before that none after is, in their order
};

SubCriteriaPairs PairSubCriteria(const CompareTest& before, const CompareTest& after) {
    std::map<std::string_view, std::vector<int>> byName;
    // Each name's sub-criteria, the first last, to be taken from the back.
    for (std::size_t m = before.subCriteria.size(); m > 0; --m)
        byName[before.subCriteria[m - 1]].push_back(static_cast<int>(m));
    SubCriteriaPairs pairs{{0}, {}};
    std::vector<bool> paired(before.subCriteria.size() + 1);
    for (const std::string& name : after.subCriteria) {
        auto found = byName.find(name);
        int was = 0;
        if (found != byName.end() && !found->second.empty()) {
            was = found->second.back();  // the first left of that name
            found->second.pop_back();
            paired[static_cast<std::size_t>(was)] = true;
        }
        pairs.was.push_back(was);
    }
    for (std::size_t m = 1; m < paired.size(); ++m)
        if (!paired[m]) pairs.removed.push_back(static_cast<int>(m));
    return pairs;
}

}  // namespace

class ChartChanges::Builder {
public:
    explicit Builder(ChartChanges& changes)
        : out_(changes), before_(*changes.before_), after_(*changes.after_) {}

    void Build() {
        for (int test = 1; test <= kTestCount; ++test)
            subCriteria_[static_cast<std::size_t>(test - 1)] =
                PairSubCriteria(before_.chart.Test(test), after_.chart.Test(test));
        StartGroup(-1, -1);
        Start();
        Tests();
        for (const ProgramPair& pair : MatchPrograms(before_.chart.Identities(), after_.chart.Identities())) {
            StartGroup(pair.before, pair.after);
            Program(pair);
        }
        EndGroup();
    }

private:
    void StartGroup(int before, int after) {
        EndGroup();
        out_.groups_.push_back({before, after});
        heading_ = out_.lines_.size();
        Add(ChangeKind::Heading);
    }
    // A group with no change leaves no heading.
    void EndGroup() {
        if (out_.groups_.empty() || heading_ + 1 != out_.lines_.size()) return;
        out_.lines_.pop_back();
        out_.groups_.pop_back();
    }
    void Add(ChangeKind kind, int col = 0, int item = 0, int was = 0) {
        out_.lines_.push_back({kind, col, item, was, static_cast<int>(out_.groups_.size() - 1)});
    }

    void Start() {
        const auto& old = before_.messages;
        const auto& now = after_.messages;
        for (std::size_t i = 0; i < now.size(); ++i)
            if (!Contains(old, now[i])) Add(ChangeKind::MessageShown, 0, static_cast<int>(i));
        for (std::size_t i = 0; i < old.size(); ++i)
            if (!Contains(now, old[i])) Add(ChangeKind::MessageGone, 0, static_cast<int>(i));
        if (before_.enabled != after_.enabled)
            Add(after_.enabled ? ChangeKind::CellsSelectable : ChangeKind::CellsNotSelectable);
    }

    void Tests() {
        for (int test = 1; test <= kTestCount; ++test) {
            const CompareTest& old = before_.chart.Test(test);
            const CompareTest& now = after_.chart.Test(test);
            if (old.readable != now.readable) {
                Add(now.readable ? ChangeKind::TestReadable : ChangeKind::TestUnreadable, test);
                continue;
            }
            if (!now.readable) continue;
            if (old.title != now.title) Add(ChangeKind::TestTitle, test);
            const SubCriteriaPairs& pairs = subCriteria_[static_cast<std::size_t>(test - 1)];
            for (std::size_t m = 1; m < pairs.was.size(); ++m)
                if (pairs.was[m] == 0) Add(ChangeKind::SubCriterionAdded, test, static_cast<int>(m));
            for (int m : pairs.removed) Add(ChangeKind::SubCriterionRemoved, test, m);
        }
    }

    void Program(const ProgramPair& pair) {
        if (pair.before < 0) return Add(ChangeKind::Added);
        if (pair.after < 0) return Add(ChangeKind::Removed);
        const CompareProgram& old = before_.chart.Program(pair.before);
        const CompareProgram& now = after_.chart.Program(pair.after);
        if (pair.renamed && !(old.blankName && now.blankName)) Add(ChangeKind::Renamed);
        if (pair.moved) Add(ChangeKind::Moved);
        const auto& oldAddress = before_.addresses[static_cast<std::size_t>(pair.before)];
        const auto& newAddress = after_.addresses[static_cast<std::size_t>(pair.after)];
        // Readers open the page as the viewer rewrites it; an address it does
        // not open is shown in a message as it stands.
        const bool opened = !before_.chart.Identities().Address(pair.before).empty() ||
                            !after_.chart.Identities().Address(pair.after).empty();
        if (opened ? pair.readdressed : oldAddress != newAddress) Add(ChangeKind::PageAddress);
        for (int col = 1; col <= kTotalColumn; ++col) {
            if (old.cells[static_cast<std::size_t>(col)] != now.cells[static_cast<std::size_t>(col)])
                Add(ChangeKind::Result, col);
            if (col == kTotalColumn || !before_.chart.Test(col).readable || !after_.chart.Test(col).readable) continue;
            const std::vector<int>& was = subCriteria_[static_cast<std::size_t>(col - 1)].was;
            for (std::size_t m = 1; m < was.size(); ++m) {
                if (was[m] == 0) continue;
                if (before_.chart.AnswerTo(pair.before, col, was[m]) !=
                    after_.chart.AnswerTo(pair.after, col, static_cast<int>(m)))
                    Add(ChangeKind::Answer, col, static_cast<int>(m), was[m]);
            }
        }
    }

    ChartChanges& out_;
    const SeenChart& before_;
    const SeenChart& after_;
    std::array<SubCriteriaPairs, kTestCount> subCriteria_;
    std::size_t heading_ = 0;
};

ChartChanges::ChartChanges(std::shared_ptr<const SeenChart> before, std::shared_ptr<const SeenChart> after)
    : before_(std::move(before)), after_(std::move(after)) {
    Builder(*this).Build();
}

std::string ChartChanges::Heading(const Group& group) const {
    if (group.after < 0 && group.before < 0) return "The whole chart";
    const bool removed = group.after < 0;
    const CompareChart& chart = removed ? before_->chart : after_->chart;
    const CompareProgram& program = chart.Program(removed ? group.before : group.after);
    const std::string row = (removed ? "was row " : "row ") + std::to_string(program.row);
    return program.blankName ? row : program.cells[kNameColumn] + " (" + row + ")";
}

std::string ChartChanges::Text(std::size_t at) const {
    const Line& line = lines_[at];
    const Group& group = GroupOf(at);
    const CompareChart& old = before_->chart;
    const CompareChart& now = after_->chart;
    const std::string test = line.col > 0 ? CompareChart::ColumnHeading(line.col) : "";
    const auto subCriterion = [&](const CompareChart& chart, int m) -> const std::string& {
        return chart.Test(line.col).subCriteria[static_cast<std::size_t>(m - 1)];
    };
    const auto name = [](const CompareChart& chart, int p) {
        return chart.Program(p).blankName ? std::string("(no name)") : chart.Cell(p, kNameColumn);
    };
    switch (line.kind) {
        case ChangeKind::Heading:
            return Heading(group);
        case ChangeKind::MessageShown:
            return "at start, Vantrel now says: \"" + after_->messages[static_cast<std::size_t>(line.item)] + '"';
        case ChangeKind::MessageGone:
            return "at start, Vantrel no longer says: \"" + before_->messages[static_cast<std::size_t>(line.item)] +
                   '"';
        case ChangeKind::CellsSelectable:
            return "cells can be selected again";
        case ChangeKind::CellsNotSelectable:
            return "cells can no longer be selected";
        case ChangeKind::TestTitle:
            return test + ": title " + Quoted(old.Test(line.col).title) + " -> " + Quoted(now.Test(line.col).title);
        case ChangeKind::TestUnreadable:
            return test + ": selecting a result now shows an error";
        case ChangeKind::TestReadable:
            return test + ": selecting a result shows its details again";
        case ChangeKind::SubCriterionAdded:
            return test + ": sub-criterion " + Quoted(subCriterion(now, line.item)) + " added";
        case ChangeKind::SubCriterionRemoved:
            return test + ": sub-criterion " + Quoted(subCriterion(old, line.item)) + " removed";
        case ChangeKind::Renamed:
            return "renamed: " + name(old, group.before) + " -> " + name(now, group.after);
        case ChangeKind::Added:
            return "added to the chart";
        case ChangeKind::Removed:
            return "removed from the chart";
        case ChangeKind::Moved:
            return "moved: row " + std::to_string(old.Program(group.before).row) + " -> " +
                   std::to_string(now.Program(group.after).row);
        case ChangeKind::PageAddress:
            return "page address " + Quoted(before_->addresses[static_cast<std::size_t>(group.before)]) + " -> " +
                   Quoted(after_->addresses[static_cast<std::size_t>(group.after)]);
        case ChangeKind::Result:
            return test + " " + Told(old.Cell(group.before, line.col)) + " -> " + Told(now.Cell(group.after, line.col));
        case ChangeKind::Answer:
            return test + ": " + subCriterion(now, line.item) + " " +
                   AnswerText(old.AnswerTo(group.before, line.col, line.was)) + " -> " +
                   AnswerText(now.AnswerTo(group.after, line.col, line.item));
    }
    return {};
}

std::string ChartChanges::Printed(std::size_t line) const { return IsHeading(line) ? Text(line) : "  " + Text(line); }

std::string ChartChanges::Alone(std::size_t line) const {
    return IsHeading(line) ? Text(line) : Heading(GroupOf(line)) + ": " + Text(line);
}

LineCell ChartChanges::CellOf(std::size_t at) const {
    const Line& line = lines_[at];
    const Group& group = GroupOf(at);
    if (group.after < 0) {
        // The whole chart's lines about a test lead to it; a removed program's nowhere.
        const bool aboutTest = group.before < 0 && line.col > 0;
        return aboutTest ? LineCell{line.col, 0} : LineCell{};
    }
    const int row = after_->chart.Program(group.after).row;
    const bool ownCell = line.kind == ChangeKind::Result || line.kind == ChangeKind::Answer;
    return {ownCell ? line.col : kTotalColumn, row};
}

ChartChanges ChangesBetween(std::shared_ptr<const SeenChart> before, std::shared_ptr<const SeenChart> after) {
    return ChartChanges(std::move(before), std::move(after));
}

ChartChanges ChangesBetween(const ShownChart& before, const ShownChart& after) {
    return ChangesBetween(std::make_shared<const SeenChart>(before), std::make_shared<const SeenChart>(after));
}

}  // namespace chart
