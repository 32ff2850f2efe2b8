#include "publisher/diff_command.h"

#include <ostream>

#include "chart/diff/chart_changes.h"
#include "chart/publisher_values.h"
#include "publisher/loaded_chart.h"
#include "publisher/text_output.h"

namespace publisher {

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out) {
    const auto changes = chart::ChangesBetween(LoadedChart(PublisherFolder(oldFolder), chart::kPublisherHost),
                                               LoadedChart(PublisherFolder(newFolder), chart::kPublisherHost));
    for (const chart::ChartChange& change : changes) out << ForTerminal(change.text) << '\n';
    return changes.empty() ? 0 : 1;
}

}  // namespace publisher
