#include "publisher/chart_check.h"

#include <algorithm>

#include "chart/chart_form.h"
#include "chart/details/integer_conversion.h"
#include "chart/files/version_file.h"
#include "chart/loading/version_gate.h"
#include "chart/verify/chart_bytes_check.h"
#include "publisher/checked_chart.h"
#include "publisher/data_findings.h"
#include "publisher/file_findings.h"
#include "publisher/policy_findings.h"
#include "publisher/signature_findings.h"

namespace publisher {
namespace {

void ReadFiles(CheckedChart& chart, const PublisherFolder& folder) {
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        FileRead read = folder.Read(file);
        chart.bytes[file] = std::move(read.bytes);
        if (chart.bytes[file]) continue;
        chart.Add(file, 0, Severity::Error, "unreadable",
                  "cannot be read (" + read.why + "): readers see \"" + chart::kChartFileTable[file].missingMessage +
                      "\"");
    }
}

// A file under the viewer's name among served ones: readers' Update fetches
// the served name, which the folder does not have.
void CheckNames(CheckedChart& chart, const PublisherFolder& folder) {
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        if (!folder.UnderTheViewersNameAmongServed(file)) continue;
        const char* served = chart::kChartFileTable[file].Served();
        chart.Add(file, 0, Severity::Error, "mixed-names",
                  std::string("readers' Update fetches ") + served + ", which this folder does not hold: it holds " +
                      Quoted(folder.Name(file)) + ", the viewer's name (name all three files alike)");
    }
}

// Each test's count as a selection converts it, once for every check.
void ConvertCounts(CheckedChart& chart) {
    for (int col = 1; col <= chart::kTestCount; ++col) {
        if (const auto count = chart::ParseInteger(chart.tables.TestPolicy(col, 0)))
            chart.counts[col] = std::min<long long>(*count, chart::kMaxSubCriteria);
    }
}

void CheckVersion(CheckedChart& chart, const CheckRules& rules) {
    const chart::ChartTables& tables = chart.tables;
    if (chart::IsNewerVersion(tables.RequiredVersion, chart::BuiltInVersion))
        chart.Add(kVersion, 2, Severity::Error, "version-required",
                  "readers of Vantrel 1.0 will see: \"" + std::string(chart::kNeedNewestVersionMessage) +
                      rules.publisherHost + "\", and no chart");
    if (chart::IsNewerVersion(tables.LatestVersion, chart::BuiltInVersion))
        chart.Add(kVersion, 1, Severity::Warning, "version-newer",
                  "version " + Quoted(tables.LatestVersion) + " is newer than 10: readers see \"" +
                      chart::kNewestAvailableMessage + rules.publisherHost + "\" at every start");
}

}  // namespace

std::vector<Finding> CheckChart(const PublisherFolder& folder, const CheckRules& rules) {
    CheckedChart chart;
    chart.names = folder.Names();
    chart.cellIsCut = rules.cellIsCut;
    CheckNames(chart, folder);
    ReadFiles(chart, folder);

    // The readers as the window calls them, over the same bytes, each
    // record looked at as it is read; each file is read whatever the others
    // hold, so that every fault is told at once. The policy comes first: the
    // data's flags are checked against its tests.
    chart::DataFileSummary data;
    chart::PolicyFileSummary policy;
    if (chart.bytes[kPolicy]) {
        PolicyFindings policyFindings(chart);
        policy = chart::ReadPolicyBytes(*chart.bytes[kPolicy], chart.tables, std::ref(policyFindings));
        ConvertCounts(chart);
        policyFindings.Finish();
    }
    if (chart.bytes[kData]) {
        DataFindings dataFindings(chart);
        data = chart::ReadDataBytes(*chart.bytes[kData], chart.tables, chart.grid, std::ref(dataFindings));
    }
    if (chart.bytes[kVersion]) {
        chart::ReadVersionBytes(*chart.bytes[kVersion], chart.tables);
        CheckVersion(chart, rules);
    }
    // What the update's own check says before it lets a chart replace a chart.
    if (std::all_of(chart.bytes.begin(), chart.bytes.end(), [](const auto& bytes) { return bytes.has_value(); })) {
        if (const auto refused = chart::WhyReadBytesAreNotAChart(
                {*chart.bytes[kData], *chart.bytes[kPolicy], *chart.bytes[kVersion]}, data, policy,
                chart.tables.LatestVersion))
            chart.Add(refused->file, 0, Severity::Error, "update-refuses",
                      "the update refuses this chart: " + refused->rule);
    }
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file)
        if (chart.bytes[file]) FindFileFaults(chart, file);
    if (!rules.publicKey.empty()) FindSignatureFaults(chart, folder, rules.publicKey, rules.now);
    return chart.findings.Sorted(chart.names);
}

bool HasError(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

}  // namespace publisher
