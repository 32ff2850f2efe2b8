// `vantrel-chart diff`: what readers of one chart will see change in the next.
#include "publisher/diff_command.h"

#include <memory>
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
        lines.push_back("at start, Vantrel says \"" + message + "\" to readers who update, kept from the chart before "
                        "(not to readers who start afresh)");
    for (const std::string& message : differences.onlyFresh)
        lines.push_back("at start, Vantrel says \"" + message + "\" to readers who start afresh (not to readers who update)");
    if (differences.enabledDiffers)
        lines.push_back(updating.enabled ? "cells can be selected by readers who update, not by readers who start afresh"
                                         : "cells can be selected by readers who start afresh, not by readers who update");
    return lines;
}

}  // namespace

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out) {
    const PublisherFolder oldFiles(oldFolder), newFiles(newFolder);
    // What readers who update see: the new chart reloaded over the old, as
    // the window's reload does; of each chart only what readers see is kept.
    const auto before = std::make_shared<const chart::SeenChart>(LoadedChart(oldFiles, chart::kPublisherHost));
    const chart::ShownChart updating = UpdatedChart(oldFiles, newFiles, chart::kPublisherHost);
    const chart::ChartChanges changes =
        chart::ChangesBetween(before, std::make_shared<const chart::SeenChart>(updating));
    // A heading line a program, its changes indented under it.
    for (std::size_t line = 0; line < changes.Lines(); ++line) out << ForTerminal(changes.Printed(line)) << '\n';
    const ReaderDifferences differences =
        DifferencesFromFresh(updating, LoadedChart(newFiles, chart::kPublisherHost));
    for (const std::string& line : FreshReaderLines(updating, differences)) out << ForTerminal(line) << '\n';

    // The releases' dates, as their signatures carry them (unverified: diff
    // has no key), beside each other and the clock.
    if (const auto released = ReleaseDate(newFiles, {}))
        for (const TimelineNote& note : JudgeRelease(*released, ReleaseDate(oldFiles, {}), Now()))
            out << "release: the new chart is " << ForTerminal(note.message) << '\n';
    return changes.Empty() && differences.Empty() ? 0 : 1;
}

}  // namespace publisher
