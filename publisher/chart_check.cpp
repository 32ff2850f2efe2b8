#include "publisher/chart_check.h"

#include <algorithm>

#include "chart/chart_form.h"
#include "chart/files/chart_file_set.h"
#include "chart/files/file_bytes.h"
#include "chart/files/version_file.h"
#include "chart/loading/version_gate.h"
#include "publisher/checked_chart.h"
#include "publisher/data_findings.h"
#include "publisher/policy_findings.h"
#include "publisher/signature_findings.h"
#include "chart/text/utf8.h"
#include "chart/verify/chart_bytes_check.h"

namespace publisher {
namespace {

constexpr std::array<const char*, PublisherFolder::kFiles> kReaderMessages = {
    chart::kNoDataFileMessage, chart::kNoPolicyFileMessage, chart::kNoVersionFileMessage};

void ReadFiles(CheckedChart& chart, const PublisherFolder& folder) {
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        try {
            chart.bytes[file] = chart::ReadFileBytes(folder.Path(file), chart::kChartFileSizeCap);
        } catch (const std::exception& failure) {
            chart.Add(file, 0, Severity::Error,
                      std::string("cannot be read (") + failure.what() + "): readers see \"" +
                          kReaderMessages[file] + "\"");
        }
    }
}

// The viewer's line reader stops at a Ctrl-Z byte: what follows is never read.
void CheckCtrlZ(CheckedChart& chart, std::size_t file) {
    const std::string_view bytes = *chart.bytes[file];
    const std::size_t stop = bytes.find('\x1A');
    if (stop == std::string_view::npos) return;
    const std::string_view rest = bytes.substr(stop);
    if (rest.find_first_not_of(" \t\r\n\x1A") == std::string_view::npos) return;  // an old end-of-file mark
    const long long line = std::count(bytes.begin(), bytes.begin() + static_cast<long>(stop), '\n') + 1;
    const auto after = std::count(rest.begin(), rest.end(), '\n');
    chart.Add(file, line, Severity::Error,
              "a Ctrl-Z byte stops the viewer's reader here: the " + std::to_string(after) +
                  (after == 1 ? " line" : " lines") + " after it " + (after == 1 ? "is" : "are") + " never read");
}

void CheckUtf8(CheckedChart& chart, std::size_t file) {
    if (chart::IsValidUtf8(*chart.bytes[file])) return;
    for (long long line = 1; line <= chart.LineCount(file); ++line)
        if (!chart::IsValidUtf8(chart.Line(file, line)))
            chart.Add(file, line, Severity::Warning,
                      "this line is not valid UTF-8: the window shows it as Windows-1252 text");
}

void CheckVersion(CheckedChart& chart, const CheckRules& rules) {
    const chart::ChartTables& tables = chart.tables;
    if (chart::IsNewerVersion(tables.RequiredVersion, chart::BuiltInVersion))
        chart.Add(kVersion, 2, Severity::Error,
                  "readers of Vantrel 1.0 will see: \"" + std::string(chart::kNeedNewestVersionMessage) +
                      rules.publisherHost + "\", and no chart");
    if (chart::IsNewerVersion(tables.LatestVersion, chart::BuiltInVersion))
        chart.Add(kVersion, 1, Severity::Warning,
                  "version " + Quoted(tables.LatestVersion) + " is newer than 10: readers see \"" +
                      chart::kNewestAvailableMessage + rules.publisherHost + "\" at every start");
}

}  // namespace

std::vector<Finding> CheckChart(const PublisherFolder& folder, const CheckRules& rules) {
    CheckedChart chart;
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) chart.names[file] = folder.Name(file);
    chart.cellIsCut = rules.cellIsCut;
    ReadFiles(chart, folder);

    // The readers as the window calls them, over the same bytes; each file
    // is read whatever the others hold, so that every fault is told at once.
    chart::DataFileSummary data;
    chart::PolicyFileSummary policy;
    if (chart.bytes[kData]) data = chart::ReadDataBytes(*chart.bytes[kData], chart.tables, chart.grid, &chart.dataRecords);
    if (chart.bytes[kPolicy]) policy = chart::ReadPolicyBytes(*chart.bytes[kPolicy], chart.tables, &chart.policyRecords);
    if (chart.bytes[kVersion]) {
        chart::ReadVersionBytes(*chart.bytes[kVersion], chart.tables);
        CheckVersion(chart, rules);
    }
    // What the update's own check says before it lets a chart replace a chart.
    if (std::all_of(chart.bytes.begin(), chart.bytes.end(), [](const auto& bytes) { return bytes.has_value(); })) {
        if (const auto refused = chart::WhyReadBytesAreNotAChart({*chart.bytes[0], *chart.bytes[1], *chart.bytes[2]},
                                                                  data, policy, chart.tables.LatestVersion))
            chart.Add(refused->file, 0, Severity::Error, "the update refuses this chart: " + refused->rule);
    }
    if (chart.bytes[kPolicy]) FindPolicyFaults(chart);
    if (chart.bytes[kData]) FindDataFaults(chart);
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        if (!chart.bytes[file]) continue;
        CheckCtrlZ(chart, file);
        CheckUtf8(chart, file);
    }
    if (!rules.publicKey.empty()) {
        for (Finding& finding : FindSignatureFaults(folder, chart.bytes, rules.publicKey, rules.now))
            chart.findings.push_back(std::move(finding));
    }

    auto findings = std::move(chart.findings);
    const auto order = [&](const Finding& finding) {
        const auto file = std::find(chart.names.begin(), chart.names.end(), finding.file) - chart.names.begin();
        return std::pair(file, finding.line);
    };
    std::stable_sort(findings.begin(), findings.end(),
                     [&](const Finding& a, const Finding& b) { return order(a) < order(b); });
    return findings;
}

bool HasError(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

}  // namespace publisher
