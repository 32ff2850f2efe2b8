#include "publisher/diff_command.h"

#include <ostream>

#include "chart/publisher_values.h"
#include "publisher/chart_diff.h"
#include "publisher/text_output.h"

namespace publisher {

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out) {
    const LoadedChart before(PublisherFolder(oldFolder), chart::kPublisherHost);
    const LoadedChart after(PublisherFolder(newFolder), chart::kPublisherHost);
    const auto changes = DiffCharts(before, after);
    for (const std::string& change : changes) out << ForTerminal(change) << '\n';
    return changes.empty() ? 0 : 1;
}

}  // namespace publisher
