#include "publisher/check_command.h"

#include <ostream>

#include "publisher/chart_check.h"
#include "ui/publisher_values.h"
#include "ui/text/display_text.h"

namespace publisher {

int RunCheck(const std::string& folder, bool json, std::ostream& out) {
    CheckRules rules;
    rules.publisherHost = vantrel::ui::kPublisherHost;
    // The grid's own cut: a cell past the display limit is shown cut, with "…".
    rules.cellIsCut = [](std::string_view cell) {
        return vantrel::ui::DisplayCell(cell).size() > vantrel::ui::kDisplayTextLimit;
    };
    const auto findings = CheckChart(PublisherFolder(folder), rules);
    for (const Finding& finding : findings) out << (json ? JsonLine(finding) : CompilerLine(finding)) << '\n';
    return HasError(findings) ? 1 : 0;
}

}  // namespace publisher
