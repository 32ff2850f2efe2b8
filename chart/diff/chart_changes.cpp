#include "chart/diff/chart_changes.h"

#include <algorithm>
#include <map>
#include <optional>

#include "chart/details/integer_conversion.h"
#include "chart/text/quoted.h"

namespace chart {
namespace {

constexpr int kTotalColumn = GridModel::kColCount - 1;

const char* Heading(int col) { return GridModel::kColumnHeadings[static_cast<std::size_t>(col)]; }

// A program of the one chart and of the other: the same name, the n-th of
// that name in each.
struct Pair {
    int oldRow;
    int newRow;
};

// Each name's rows, in order.
std::map<std::string, std::vector<int>> RowsByName(const ShownChart& chart) {
    std::map<std::string, std::vector<int>> rows;
    for (int row = 1; row <= chart.Programs(); ++row) rows[chart.Name(row)].push_back(row);
    return rows;
}

// How a program is named in the lines: by its name, and by its row too where
// the chart holds two of that name.
std::string Label(const ShownChart& chart, const std::map<std::string, std::vector<int>>& rows, int row) {
    const std::string& name = chart.Name(row);
    return rows.at(name).size() > 1 ? name + " (row " + std::to_string(row) + ")" : name;
}

// A test's sub-criteria by name, each with its answer as the details panel
// shows it for the program; none when a selection there raises an error.
std::optional<std::map<std::string, std::string>> Answers(const ShownChart& chart, int row, int col) {
    const auto converted = ParseInteger(chart.tables.TestPolicy(col, 0));
    if (!converted) return std::nullopt;
    const long long count = std::min<long long>(*converted, kMaxSubCriteria);
    // The details text: the title line, then "name: ANSWER" a line.
    const std::string details = chart.Details(row, col);
    std::map<std::string, std::string> answers;
    std::size_t at = details.find("\r\n");
    for (long long m = 1; m <= count && at != std::string::npos; ++m) {
        const std::size_t end = details.find("\r\n", at + 2);
        const std::string& name = chart.tables.TestPolicy(col, static_cast<int>(m));
        const std::string line = details.substr(at + 2, end - at - 2);
        answers.emplace(name, line.substr(std::min(line.size(), name.size() + 2)));
        at = end;
    }
    return answers;
}

std::optional<std::string> TestTitle(const ShownChart& chart, int col) {
    const auto count = ParseInteger(chart.tables.TestPolicy(col, 0));
    if (!count || *count < 0 || *count + 1 >= kPolicySlots) return std::nullopt;
    return chart.tables.TestPolicy(col, *count + 1);
}

class Changes {
public:
    Changes(const ShownChart& before, const ShownChart& after)
        : before_(before), after_(after), oldRows_(RowsByName(before)), newRows_(RowsByName(after)) {}

    std::vector<ChartChange> Between() {
        Start();
        Tests();
        Programs();
        return std::move(out_);
    }

private:
    void Add(std::string text, std::string program = {}, int row = 0, int col = 0) {
        out_.push_back({std::move(text), std::move(program), row, col});
    }

    void Start() {
        const auto& old = before_.messages;
        const auto& now = after_.messages;
        for (const auto& message : now)
            if (std::find(old.begin(), old.end(), message) == old.end()) Add("start: readers now see \"" + message + "\"");
        for (const auto& message : old)
            if (std::find(now.begin(), now.end(), message) == now.end())
                Add("start: readers no longer see \"" + message + "\"");
        if (before_.enabled != after_.enabled)
            Add(after_.enabled ? "start: the grid takes selections again"
                               : "start: the grid is disabled: readers cannot select a cell");
    }

    void Tests() {
        for (int col = 1; col < kTotalColumn; ++col) {
            const auto oldTitle = TestTitle(before_, col), newTitle = TestTitle(after_, col);
            if (oldTitle && newTitle && *oldTitle != *newTitle)
                Add(std::string(Heading(col)) + ": title " + Quoted(*oldTitle) + " -> " + Quoted(*newTitle));
            // The sub-criteria as the first program's details list them.
            if (before_.Programs() == 0 || after_.Programs() == 0) continue;
            const auto oldAnswers = Answers(before_, 1, col), newAnswers = Answers(after_, 1, col);
            if (!oldAnswers || !newAnswers) continue;
            for (const auto& [name, answer] : *newAnswers)
                if (!oldAnswers->contains(name))
                    Add(std::string(Heading(col)) + ": sub-criterion " + Quoted(name) + " added");
            for (const auto& [name, answer] : *oldAnswers)
                if (!newAnswers->contains(name))
                    Add(std::string(Heading(col)) + ": sub-criterion " + Quoted(name) + " removed");
        }
    }

    void Programs() {
        // The n-th program of a name in the one chart is the n-th in the other.
        std::vector<Pair> pairs;
        for (const auto& [name, oldRows] : oldRows_) {
            const auto found = newRows_.find(name);
            const std::size_t both = found == newRows_.end() ? 0 : std::min(oldRows.size(), found->second.size());
            for (std::size_t i = 0; i < both; ++i) pairs.push_back({oldRows[i], found->second[i]});
            for (std::size_t i = both; i < oldRows.size(); ++i)
                Add("removed: " + Label(before_, oldRows_, oldRows[i]) + " (was row " + std::to_string(oldRows[i]) + ")",
                    Label(before_, oldRows_, oldRows[i]));
        }
        for (const auto& [name, newRows] : newRows_) {
            const auto found = oldRows_.find(name);
            const std::size_t both = found == oldRows_.end() ? 0 : std::min(newRows.size(), found->second.size());
            for (std::size_t i = both; i < newRows.size(); ++i)
                Add("added: " + after_.Name(newRows[i]) + " (row " + std::to_string(newRows[i]) + ")",
                    Label(after_, newRows_, newRows[i]), newRows[i]);
        }
        // Moved: a change of order among the programs both show, not a shift
        // made by one added or removed above.
        std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.newRow < b.newRow; });
        std::vector<int> oldOrder;
        for (const Pair& pair : pairs) oldOrder.push_back(pair.oldRow);
        std::sort(oldOrder.begin(), oldOrder.end());
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (oldOrder[i] == pairs[i].oldRow) continue;
            const std::string label = Label(after_, newRows_, pairs[i].newRow);
            Add("moved: " + after_.Name(pairs[i].newRow) + " row " + std::to_string(pairs[i].oldRow) + " -> " +
                    std::to_string(pairs[i].newRow),
                label, pairs[i].newRow);
        }
        for (const Pair& pair : pairs) Program(pair);
    }

    void Program(const Pair& pair) {
        const std::string name = Label(after_, newRows_, pair.newRow);
        const int oldRow = pair.oldRow, newRow = pair.newRow;
        const std::string& oldAddress = before_.tables.ProductUrl(oldRow);
        const std::string& newAddress = after_.tables.ProductUrl(newRow);
        if (oldAddress != newAddress)
            Add(name + ": page address " + Quoted(oldAddress) + " -> " + Quoted(newAddress), name, newRow);
        for (int col = 1; col <= kTotalColumn; ++col) {
            const std::string& oldResult = before_.rows[static_cast<std::size_t>(oldRow - 1)][static_cast<std::size_t>(col)];
            const std::string& newResult = after_.rows[static_cast<std::size_t>(newRow - 1)][static_cast<std::size_t>(col)];
            if (oldResult != newResult)
                Add(name + ": " + Heading(col) + " " + oldResult + " -> " + newResult, name, newRow, col);
        }
        for (int col = 1; col < kTotalColumn; ++col) {
            const auto oldAnswers = Answers(before_, oldRow, col), newAnswers = Answers(after_, newRow, col);
            if (!oldAnswers || !newAnswers) {
                const std::string oldDetails = before_.Details(oldRow, col), newDetails = after_.Details(newRow, col);
                if (oldDetails != newDetails)
                    Add(name + ": " + Heading(col) + ": the details panel now shows " +
                            Quoted(newDetails.substr(0, newDetails.find('\r'))),
                        name, newRow, col);
                continue;
            }
            for (const auto& [criterion, answer] : *newAnswers) {
                const auto old = oldAnswers->find(criterion);
                if (old != oldAnswers->end() && old->second != answer)
                    Add(name + ": " + Heading(col) + ": " + criterion + " " + old->second + " -> " + answer, name,
                        newRow, col);
            }
        }
    }

    const ShownChart& before_;
    const ShownChart& after_;
    const std::map<std::string, std::vector<int>> oldRows_, newRows_;
    std::vector<ChartChange> out_;
};

}  // namespace

std::vector<ChartChange> ChangesBetween(const ShownChart& before, const ShownChart& after) {
    return Changes(before, after).Between();
}

}  // namespace chart
