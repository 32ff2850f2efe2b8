#include "publisher/chart_diff.h"

#include <algorithm>
#include <map>
#include <optional>

#include "chart/details/integer_conversion.h"
#include "publisher/finding.h"

namespace publisher {
namespace {

using chart::GridModel;

constexpr int kTotalColumn = GridModel::kColCount - 1;

const char* Heading(int col) { return GridModel::kColumnHeadings[static_cast<std::size_t>(col)]; }

// Each program's row by name (the first of two with one name).
std::map<std::string, int> RowsByName(const LoadedChart& chart) {
    std::map<std::string, int> rows;
    for (int row = 1; row <= chart.Programs(); ++row) rows.emplace(chart.Grid().Cell(0, row), row);
    return rows;
}

// The programs both charts show, in the chart's order.
std::vector<std::string> Common(const LoadedChart& chart, const std::map<std::string, int>& other) {
    std::vector<std::string> names;
    for (int row = 1; row <= chart.Programs(); ++row) {
        const std::string& name = chart.Grid().Cell(0, row);
        if (other.contains(name) && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

// A test's sub-criteria by name, each with its answer as the details panel
// shows it for the program; none when a selection there raises an error.
std::optional<std::map<std::string, std::string>> Answers(const LoadedChart& chart, int row, int col) {
    long long count = 0;
    try {
        count = std::min<long long>(chart::ToInteger(chart.Tables().TestPolicy(col, 0)), chart::kMaxSubCriteria);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    // The details text: the title line, then "name: ANSWER" a line.
    const std::string details = chart.Details(row, col);
    std::map<std::string, std::string> answers;
    std::size_t at = details.find("\r\n");
    for (long long m = 1; m <= count && at != std::string::npos; ++m) {
        const std::size_t end = details.find("\r\n", at + 2);
        const std::string& name = chart.Tables().TestPolicy(col, static_cast<int>(m));
        const std::string line = details.substr(at + 2, end - at - 2);
        answers.emplace(name, line.substr(std::min(line.size(), name.size() + 2)));
        at = end;
    }
    return answers;
}

std::optional<std::string> TestTitle(const LoadedChart& chart, int col) {
    try {
        const long long count = chart::ToInteger(chart.Tables().TestPolicy(col, 0));
        if (count < 0 || count + 1 >= chart::kPolicySlots) return std::nullopt;
        return chart.Tables().TestPolicy(col, static_cast<int>(count + 1));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void DiffStart(const LoadedChart& before, const LoadedChart& after, std::vector<std::string>& out) {
    const auto old = before.Messages(), now = after.Messages();
    for (const auto& message : now)
        if (std::find(old.begin(), old.end(), message) == old.end()) out.push_back("start: readers now see \"" + message + "\"");
    for (const auto& message : old)
        if (std::find(now.begin(), now.end(), message) == now.end())
            out.push_back("start: readers no longer see \"" + message + "\"");
    if (before.Grid().Enabled() != after.Grid().Enabled())
        out.push_back(after.Grid().Enabled() ? "start: the grid takes selections again"
                                             : "start: the grid is disabled: readers cannot select a cell");
}

void DiffTests(const LoadedChart& before, const LoadedChart& after, std::vector<std::string>& out) {
    for (int col = 1; col < kTotalColumn; ++col) {
        const auto oldTitle = TestTitle(before, col), newTitle = TestTitle(after, col);
        if (oldTitle && newTitle && *oldTitle != *newTitle)
            out.push_back(std::string(Heading(col)) + ": title " + Quoted(*oldTitle) + " -> " + Quoted(*newTitle));
        const auto oldAnswers = Answers(before, 1, col), newAnswers = Answers(after, 1, col);
        if (!oldAnswers || !newAnswers) continue;
        for (const auto& [name, answer] : *newAnswers)
            if (!oldAnswers->contains(name)) out.push_back(std::string(Heading(col)) + ": sub-criterion " + Quoted(name) + " added");
        for (const auto& [name, answer] : *oldAnswers)
            if (!newAnswers->contains(name)) out.push_back(std::string(Heading(col)) + ": sub-criterion " + Quoted(name) + " removed");
    }
}

void DiffProgram(const LoadedChart& before, int oldRow, const LoadedChart& after, int newRow, const std::string& name,
                 std::vector<std::string>& out) {
    const std::string& oldAddress = before.Tables().ProductUrl(oldRow);
    const std::string& newAddress = after.Tables().ProductUrl(newRow);
    if (oldAddress != newAddress) out.push_back(name + ": page address " + Quoted(oldAddress) + " -> " + Quoted(newAddress));
    for (int col = 1; col <= kTotalColumn; ++col) {
        const std::string& oldResult = before.Grid().Cell(col, oldRow);
        const std::string& newResult = after.Grid().Cell(col, newRow);
        if (oldResult != newResult) out.push_back(name + ": " + Heading(col) + " " + oldResult + " -> " + newResult);
    }
    for (int col = 1; col < kTotalColumn; ++col) {
        const auto oldAnswers = Answers(before, oldRow, col), newAnswers = Answers(after, newRow, col);
        if (!oldAnswers || !newAnswers) {
            const std::string oldDetails = before.Details(oldRow, col), newDetails = after.Details(newRow, col);
            if ((!oldAnswers || !newAnswers) && oldDetails != newDetails)
                out.push_back(name + ": " + Heading(col) + ": the details panel now shows " +
                              Quoted(newDetails.substr(0, newDetails.find('\r'))));
            continue;
        }
        for (const auto& [criterion, answer] : *newAnswers) {
            const auto old = oldAnswers->find(criterion);
            if (old != oldAnswers->end() && old->second != answer)
                out.push_back(name + ": " + Heading(col) + ": " + criterion + " " + old->second + " -> " + answer);
        }
    }
}

}  // namespace

std::vector<std::string> DiffCharts(const LoadedChart& before, const LoadedChart& after) {
    std::vector<std::string> out;
    DiffStart(before, after, out);
    DiffTests(before, after, out);

    const auto oldRows = RowsByName(before), newRows = RowsByName(after);
    for (const auto& [name, row] : oldRows)
        if (!newRows.contains(name)) out.push_back("removed: " + name + " (was row " + std::to_string(row) + ")");
    for (const auto& [name, row] : newRows)
        if (!oldRows.contains(name)) out.push_back("added: " + name + " (row " + std::to_string(row) + ")");
    // Moved: a change of order among the programs both show, not a shift
    // made by one added or removed above.
    const auto oldOrder = Common(before, newRows), newOrder = Common(after, oldRows);
    for (std::size_t i = 0; i < newOrder.size(); ++i) {
        const auto was = std::find(oldOrder.begin(), oldOrder.end(), newOrder[i]) - oldOrder.begin();
        if (static_cast<std::size_t>(was) != i)
            out.push_back("moved: " + newOrder[i] + " row " + std::to_string(oldRows.at(newOrder[i])) + " -> " +
                          std::to_string(newRows.at(newOrder[i])));
    }
    for (const std::string& name : newOrder) DiffProgram(before, oldRows.at(name), after, newRows.at(name), name, out);
    return out;
}

}  // namespace publisher
