#include "publisher/diff_command.h"

#include <ostream>

#include "chart/diff/chart_changes.h"
#include "chart/publisher_values.h"
#include "chart/text/quoted.h"
#include "publisher/loaded_chart.h"
#include "publisher/release_date.h"
#include "publisher/text_output.h"
#include "publisher/updating_reader.h"

namespace publisher {
namespace {

using chart::Quoted;

const char* Heading(int col) { return chart::GridModel::kColumnHeadings[static_cast<std::size_t>(col)]; }

// Where a reader who starts afresh on the new chart sees otherwise than one
// who updates to it, a line each.
std::vector<std::string> FreshReaderLines(const chart::ShownChart& updating, const ReaderDifferences& differences) {
    std::vector<std::string> lines;
    const std::string kept = ", kept from the chart before (readers who start afresh see ";
    for (const auto& cell : differences.cells) {
        const std::string& name = updating.Name(cell.row);
        lines.push_back(name + ": " + (cell.col == 0 ? std::string("the name") : Heading(cell.col)) + " " +
                        Quoted(cell.updating) + kept + (cell.fresh.empty() ? "nothing there)" : Quoted(cell.fresh) + ")"));
    }
    const auto seen = [](const std::string& text, bool raises) { return raises ? "the error \"" + text + "\"" : Quoted(text); };
    for (const auto& details : differences.details)
        lines.push_back(std::string(Heading(details.col)) + ": the details show " +
                        seen(details.updating, details.updatingRaises) + kept + seen(details.fresh, details.freshRaises) +
                        ")");
    for (const std::string& message : differences.onlyUpdating)
        lines.push_back("start: readers who update see \"" + message + "\", kept from the chart before (readers who "
                        "start afresh do not)");
    for (const std::string& message : differences.onlyFresh)
        lines.push_back("start: readers who start afresh see \"" + message + "\" (readers who update do not)");
    if (differences.enabledDiffers)
        lines.push_back(updating.enabled ? "start: the grid takes selections for readers who update, not for readers "
                                           "who start afresh"
                                         : "start: the grid takes selections for readers who start afresh, not for "
                                           "readers who update");
    return lines;
}

}  // namespace

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out) {
    const PublisherFolder before(oldFolder), after(newFolder);
    const chart::ShownChart old = LoadedChart(before, chart::kPublisherHost);
    const chart::ShownChart updating = UpdatedChart(before, after, chart::kPublisherHost);
    const chart::ShownChart fresh = LoadedChart(after, chart::kPublisherHost);

    const auto changes = chart::ChangesBetween(old, updating);
    for (const chart::ChartChange& change : changes) out << ForTerminal(change.text) << '\n';
    const ReaderDifferences differences = DifferencesFromFresh(updating, fresh);
    for (const std::string& line : FreshReaderLines(updating, differences)) out << ForTerminal(line) << '\n';

    // The releases' dates, as their signatures carry them (unverified: diff
    // has no key), beside each other and the clock.
    if (const auto released = ReleaseDate(after, {}))
        for (const TimelineNote& note : JudgeRelease(*released, ReleaseDate(before, {}), Now()))
            out << "release: the new chart is " << ForTerminal(note.message) << '\n';
    return changes.empty() && differences.Empty() ? 0 : 1;
}

}  // namespace publisher
