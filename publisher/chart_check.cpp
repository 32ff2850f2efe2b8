// `vantrel-chart check`: the three files read as the viewer reads them, and each file's checks.
#include "publisher/chart_check.h"

#include <algorithm>

#include "chart/details/integer_conversion.h"
#include "chart/files/chart_texts.h"
#include "chart/files/grid_rows.h"
#include "chart/loading/chart_load.h"
#include "chart/loading/shown_after_loading.h"
#include "chart/loading/version_gate.h"
#include "chart/verify/chart_bytes_check.h"
#include "publisher/checked_chart.h"
#include "publisher/data_findings.h"
#include "publisher/file_findings.h"
#include "publisher/loaded_chart.h"
#include "publisher/policy_findings.h"
#include "publisher/release_date.h"
#include "publisher/signature_findings.h"
#include "publisher/updating_reader.h"

namespace publisher {
namespace {

using chart::GridModel;

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

// A file saved as UTF-16 or UTF-32 is bytes of no chart: one finding says
// so, instead of one for each line it spoils. Such a file's other findings
// are not looked for.
std::array<bool, 3> FindWideFiles(CheckedChart& chart) {
    std::array<bool, 3> wide{};
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        if (!chart.bytes[file]) continue;
        const auto encoding = WideEncoding(*chart.bytes[file]);
        wide[file] = encoding.has_value();
        if (encoding)
            chart.Add(file, 0, Severity::Error, "wide",
                      "this file is " + *encoding + "; save it as UTF-8: the viewer reads it byte by byte, and "
                      "readers see no chart of it");
    }
    return wide;
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

std::string Cells(const std::vector<ReaderDifferences::Cell>& cells, bool updating) {
    std::vector<std::string> named;
    for (const auto& cell : cells)
        named.push_back((cell.col == 0 ? std::string("name") : GridModel::kColumnHeadings[static_cast<std::size_t>(cell.col)]) +
                        " " + Quoted(updating ? cell.updating : cell.fresh));
    return Joined(named);
}

// What readers who update from the served chart see otherwise than readers
// who start afresh: kept from it, each an error at the line that leaves it.
void CheckWhatUpdatingReadersKeep(CheckedChart& chart, const PublisherFolder& served, const std::string& host) {
    const chart::ChartSnapshot now(
        {chart.bytes[kData], chart.bytes[kPolicy], chart.bytes[kVersion]});
    const chart::ShownChart fresh = chart::ShownAfterLoading(now, nullptr, host);
    const chart::ShownChart updating = chart::ShownAfterLoading(SnapshotOf(served), &now, host);
    const ReaderDifferences differences = DifferencesFromFresh(updating, fresh);
    const std::string readers = "readers who update from the served chart ";

    for (std::size_t i = 0; i < differences.cells.size();) {
        const int row = differences.cells[i].row;
        std::vector<ReaderDifferences::Cell> cells;
        for (; i < differences.cells.size() && differences.cells[i].row == row; ++i) cells.push_back(differences.cells[i]);
        if (row > fresh.Programs()) continue;  // a data file readers cannot read: told as such
        const bool allEmpty = std::all_of(cells.begin(), cells.end(), [](const auto& cell) { return cell.fresh.empty(); });
        const long long first = chart.recordLines[static_cast<std::size_t>(row)];
        chart.Add(kData, first > 0 ? first + (cells.front().col == 0 ? 1 : 3) : 0, Severity::Error, "kept", [&] {
            return readers + "keep its " + Cells(cells, true) + " in the row of " + Quoted(fresh.Name(row)) +
                   (allEmpty ? " (this chart leaves them empty)" : " (this chart gives " + Cells(cells, false) + ")");
        });
    }
    for (const auto& details : differences.details) {
        chart.Add(kPolicy, chart.testLines[static_cast<std::size_t>(details.col)], Severity::Error, "kept", [&] {
            const auto seen = [](const std::string& text, bool raises) {
                return raises ? "the error \"" + text + "\"" : Quoted(text);
            };
            return readers + "see " + seen(details.updating, details.updatingRaises) + " in the details of column " +
                   std::to_string(details.col) + " (" + GridModel::kColumnHeadings[static_cast<std::size_t>(details.col)] +
                   "), kept from it, where readers who start afresh see " + seen(details.fresh, details.freshRaises);
        });
    }
    for (const std::string& message : differences.onlyUpdating)
        chart.Add(kVersion, 0, Severity::Warning, "kept-message",
                  readers + "see \"" + message + "\" at the Update, kept from its version file");
    for (const std::string& message : differences.onlyFresh)
        chart.Add(kVersion, 0, Severity::Warning, "kept-message",
                  "readers who start afresh see \"" + message + "\", which " + readers + "do not");
    if (differences.enabledDiffers)
        chart.Add(kVersion, 0, Severity::Error, "kept-message",
                  updating.enabled ? readers + "can select cells, which readers who start afresh cannot"
                                   : readers + "cannot select a cell, which readers who start afresh can");
}

}  // namespace

CheckReport CheckChart(const PublisherFolder& folder, const CheckRules& rules) {
    CheckedChart chart;
    chart.names = folder.Names();
    chart.gridCut = rules.gridCut;
    chart.servedKnown = rules.served.has_value();
    CheckNames(chart, folder);
    ReadFiles(chart, folder);
    const auto wide = FindWideFiles(chart);

    // The loading sequence as the window runs it, over the same bytes and
    // past the version gate (every fault is told at once), each record
    // looked at as it is read; the data's flags once the policy's tests are
    // known. A wide file's records are not looked at.
    const chart::ChartSnapshot files({chart.bytes[kData], chart.bytes[kPolicy], chart.bytes[kVersion]});
    DataFindings dataFindings(chart);
    PolicyFindings policyFindings(chart);
    chart::LoadSinks sinks;
    if (!wide[kData]) sinks.data = std::ref(dataFindings);
    if (!wide[kPolicy]) sinks.policy = std::ref(policyFindings);
    chart::GridRows rows(chart.grid);
    chart::LoadRules loading{rules.publisherHost, true};
    const chart::ChartLoad load = chart::LoadChart(files, chart.tables, rows, loading, sinks);
    if (load.policy && !wide[kPolicy]) {
        ConvertCounts(chart);
        policyFindings.Finish();
    }
    if (load.data && !wide[kData]) dataFindings.Finish();
    if (chart.bytes[kVersion] && !wide[kVersion]) CheckVersion(chart, rules);
    const chart::DataFileSummary data = load.data.value_or(chart::DataFileSummary{});
    const chart::PolicyFileSummary policy = load.policy.value_or(chart::PolicyFileSummary{});
    // What the update's own check says before it lets a chart replace a chart.
    if (std::all_of(chart.bytes.begin(), chart.bytes.end(), [](const auto& bytes) { return bytes.has_value(); })) {
        if (const auto refused = chart::WhyReadBytesAreNotAChart(
                {*chart.bytes[kData], *chart.bytes[kPolicy], *chart.bytes[kVersion]}, data, policy,
                chart.tables.LatestVersion))
            chart.Add(refused->file, 0, Severity::Error, "update-refuses",
                      "the update refuses this chart: " + refused->rule);
    }
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file)
        if (chart.bytes[file] && !wide[file]) FindFileFaults(chart, file);
    if (rules.served) CheckWhatUpdatingReadersKeep(chart, *rules.served, rules.publisherHost);
    if (!rules.publicKey.empty()) {
        const auto served = rules.served ? ReleaseDate(*rules.served, rules.publicKey) : std::nullopt;
        FindSignatureFaults(chart, folder, rules.publicKey, rules.now, served);
    }
    return {chart.findings.Sorted(chart.names), std::min(data.programs, chart::kMaxPrograms), policy.tests};
}

bool HasError(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

}  // namespace publisher
