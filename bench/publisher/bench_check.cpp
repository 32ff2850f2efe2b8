// Times `vantrel-chart check` (everything but printing) beside its floor, the
// viewer's own load of the same chart, on the largest chart and the 50-program one.
// Usage: bench_check [rounds]   (default 2000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart/chart_form.h"
#include "publisher/chart_check.h"
#include "publisher/check_command.h"
#include "publisher/grid_text_width.h"
#include "chart/recording_ports.h"
#include "support/folder_snapshot.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using Ports = chart::RecordingPorts;

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The largest chart the tables hold, under both the viewer's and the served names.
void WriteLargestChart(const fs::path& viewer, const fs::path& served) {
    std::string data;
    for (int r = 1; r <= chart::kMaxPrograms; ++r) {
        data += "http://program" + std::to_string(r) + ".example/\n";
        data += "Program " + std::to_string(r) + "\n";
        for (int t = 1; t <= chart::kTestCount; ++t) data += std::string(49, "01-"[(r + t) % 3]) + (t < 6 ? " " : "");
        data += "\n5 4 3 2 1 0 15\n\n";
    }
    std::string policy;
    for (int t = 1; t <= chart::kTestCount; ++t) {
        policy += std::string(chart::GridModel::kColumnHeadings[t]) + "\n";
        for (int m = 1; m <= chart::kMaxSubCriteria; ++m) policy += "Sub-criterion " + std::to_string(m) + "\n";
        policy += "\n";
    }
    for (const auto& [name, bytes] : {std::pair{"data", data}, {"policy", policy}, {"version", "10\n10\n"}}) {
        Write(viewer / name, bytes);
        Write(served / (std::string(name) + ".dat"), bytes);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MicrosecondsOf(const auto& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

bool Measure(const char* what, const std::string& viewerDir, const std::string& servedDir, int rounds) {
    Ports ports;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form(tables, grid, chart::ChartPorts{ports, ports, ports}, viewerDir, "www.vantrel.example");
    const publisher::CheckRules rules{"www.vantrel.example", publisher::GridCut, {}, 0, {}};
    const publisher::PublisherFolder folder(servedDir);
    std::size_t findings = 0;
    const auto load = [&] { form.ReadAll(support::FolderSnapshot(viewerDir)); };
    const auto check = [&] { findings += publisher::CheckChart(folder, rules).findings.size(); };

    // Interleaved, the order turned every round: the medians, and the median of
    // the per-round ratios.
    std::vector<double> loads, checks, ratios;
    for (int round = 0; round < rounds; ++round) {
        double tookLoad, tookCheck;
        if (round % 2 == 0) {
            tookLoad = MicrosecondsOf(load);
            tookCheck = MicrosecondsOf(check);
        } else {
            tookCheck = MicrosecondsOf(check);
            tookLoad = MicrosecondsOf(load);
        }
        loads.push_back(tookLoad);
        checks.push_back(tookCheck);
        ratios.push_back(tookCheck / tookLoad);
    }
    if (grid.RowCount() != chart::kMaxPrograms + 1 || findings != 0) {
        std::fprintf(stderr, "bench_check: %s did not load cleanly (%zu findings)\n", what, findings);
        return false;
    }
    std::printf("%s, %d interleaved rounds\n", what, rounds);
    std::printf("  viewer's load (ReadAll)            : %8.1f us median\n", Median(loads));
    std::printf("  check                              : %8.1f us median\n", Median(checks));
    std::printf("  ratio check/load (median of round ratios): %.2f (aim: at most 1.2)\n", Median(ratios));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
    const support::TempDir viewer("vantrel-bench-viewer"), served("vantrel-bench-served");
    WriteLargestChart(viewer.Dir(), served.Dir());
    bool ok = Measure("largest chart (50 programs, 6 tests of 49 sub-criteria)", viewer.Path(), served.Path(), rounds);

    const support::TempDir viewer50("vantrel-bench-viewer"), served50("vantrel-bench-served");
    for (const char* name : {"data", "policy", "version"}) {
        fs::copy_file(fs::path(VANTREL_BENCH_CHART_DIR) / name, viewer50.Dir() / name);
        fs::copy_file(fs::path(VANTREL_BENCH_CHART_DIR) / name, served50.Dir() / (std::string(name) + ".dat"));
    }
    ok = Measure("50-program chart (bench/charts)", viewer50.Path(), served50.Path(), rounds) && ok;
    return ok ? 0 : 1;
}
