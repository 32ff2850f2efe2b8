#include "publisher/check_command.h"

#include <chrono>
#include <ostream>

#include "publisher/chart_check.h"
#include "ui/publisher_values.h"
#include "ui/text/display_text.h"

namespace publisher {

bool CellIsCut(std::string_view cell) {
    // No byte decodes to more than one character, so a text of fewer bytes
    // than the limit is never cut and need not be decoded.
    if (static_cast<qsizetype>(cell.size()) <= vantrel::ui::kDisplayTextLimit) return false;
    // The grid's own cut: a cell past the display limit is shown cut, with "…".
    return vantrel::ui::DisplayCell(cell).size() > vantrel::ui::kDisplayTextLimit;
}

int RunCheck(const std::string& folder, bool json, const std::string& publicKey, std::ostream& out) {
    CheckRules rules;
    rules.publicKey = publicKey;
    rules.now = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
    rules.publisherHost = vantrel::ui::kPublisherHost;
    rules.cellIsCut = CellIsCut;
    const auto findings = CheckChart(PublisherFolder(folder), rules);
    for (const Finding& finding : findings) out << (json ? JsonLine(finding) : CompilerLine(finding)) << '\n';
    return HasError(findings) ? 1 : 0;
}

}  // namespace publisher
