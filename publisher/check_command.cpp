// `vantrel-chart check`: the findings printed and the exit status answered.
#include "publisher/check_command.h"

#include <ostream>

#include "chart/publisher_values.h"
#include "publisher/checked_chart.h"
#include "publisher/grid_text_width.h"
#include "publisher/public_key.h"
#include "publisher/release_date.h"
#include "publisher/text_output.h"

namespace publisher {

CheckReport CheckForThisViewer(const std::string& folder, const std::string& publicKey, const std::string& served) {
    CheckRules rules;
    rules.publicKey = publicKey;
    rules.now = Now();
    rules.publisherHost = chart::kPublisherHost;
    rules.gridCut = GridCut;
    if (!served.empty()) rules.served.emplace(served);
    return CheckChart(PublisherFolder(folder), rules);
}

std::string SummaryOf(const CheckReport& report) {
    const SeverityCounts counts = CountBySeverity(report.findings);
    return Plural(report.programs, "program", "programs") + ", " + Plural(report.tests, "test", "tests") + ": " +
           Plural(counts.errors, "error", "errors") + ", " + Plural(counts.warnings, "warning", "warnings");
}

int RunCheck(const std::string& folder, const CheckOptions& options, std::ostream& out, std::ostream& err) {
    const CheckReport report = CheckForThisViewer(
        folder, options.publicKey.empty() ? std::string() : ReadPublicKey(options.publicKey), options.served);
    for (const Finding& finding : report.findings)
        out << (options.json ? JsonLine(finding) : CompilerLine(finding)) << '\n';
    if (options.verbose || report.findings.empty())
        err << "vantrel-chart: " << ForTerminal(folder) << ": " << SummaryOf(report) << '\n';
    return HasError(report.findings) ? 1 : 0;
}

}  // namespace publisher
