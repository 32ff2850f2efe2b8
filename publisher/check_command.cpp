#include "publisher/check_command.h"

#include <chrono>
#include <ostream>

#include "chart/publisher_values.h"
#include "chart/text/display_limit.h"
#include "publisher/chart_check.h"
#include "publisher/public_key.h"

namespace publisher {

std::vector<Finding> CheckForThisViewer(const std::string& folder, const std::string& publicKey) {
    CheckRules rules;
    rules.publicKey = publicKey;
    rules.now = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
    rules.publisherHost = chart::kPublisherHost;
    rules.cellIsCut = chart::IsCutForDisplay;
    return CheckChart(PublisherFolder(folder), rules);
}

int RunCheck(const std::string& folder, bool json, const std::string& publicKey, std::ostream& out) {
    const auto findings = CheckForThisViewer(folder, publicKey.empty() ? std::string() : ReadPublicKey(publicKey));
    for (const Finding& finding : findings) out << (json ? JsonLine(finding) : CompilerLine(finding)) << '\n';
    return HasError(findings) ? 1 : 0;
}

}  // namespace publisher
