#include "publisher/diff_command.h"

#include <memory>
#include <ostream>

#include "chart/diff/chart_changes.h"
#include "chart/publisher_values.h"
#include "publisher/loaded_chart.h"
#include "publisher/text_output.h"

namespace publisher {

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out) {
    // One chart loaded at a time: only what readers see of each is kept.
    const auto before =
        std::make_shared<const chart::SeenChart>(LoadedChart(PublisherFolder(oldFolder), chart::kPublisherHost));
    const auto after =
        std::make_shared<const chart::SeenChart>(LoadedChart(PublisherFolder(newFolder), chart::kPublisherHost));
    const chart::ChartChanges changes = chart::ChangesBetween(before, after);
    // A heading line a program, its changes indented under it.
    for (std::size_t line = 0; line < changes.Lines(); ++line) out << ForTerminal(changes.Printed(line)) << '\n';
    return changes.Empty() ? 0 : 1;
}

}  // namespace publisher
