// Time per chart load (50 programs, 6 tests of 49 sub-criteria) and the line
// reader's throughput on a 100 MB file of very long lines, beside a plain
// memchr scan of the same file through a buffer of the same size.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart/chart_form.h"
#include "chart/files/line_reader.h"
#include "chart/recording_ports.h"
#include "support/folder_snapshot.h"
#include "support/temp_dir.h"

namespace {

std::string g_dir;
std::string g_bigFile;
constexpr std::size_t kBigFileBytes = 100u * 1024 * 1024;
constexpr std::size_t kLongLineBytes = 10u * 1024 * 1024;

using Ports = chart::RecordingPorts;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteChart() {
    WriteFile(g_dir + "/version", "10\r\n10\r\n");
    std::string data;
    for (int r = 1; r <= chart::kMaxPrograms; ++r) {
        data += "http://program" + std::to_string(r) + ".example/\r\n";
        data += "Program " + std::to_string(r) + "\r\n";
        for (int t = 1; t <= chart::kTestCount; ++t) data += std::string(49, "01x"[(r + t) % 3]) + " ";
        data += "\r\n5 4 3 2 1 0 15\r\n\r\n";
    }
    WriteFile(g_dir + "/data", data);
    std::string policy;
    for (int t = 1; t <= chart::kTestCount; ++t) {
        policy += "Test " + std::to_string(t) + "\r\n";
        for (int m = 1; m <= chart::kMaxSubCriteria; ++m) policy += "Sub-criterion " + std::to_string(m) + "\r\n";
        policy += "\r\n";
    }
    WriteFile(g_dir + "/policy", policy);
}

void WriteBigFile() {
    g_bigFile = g_dir + "/long-lines";
    std::ofstream out(g_bigFile, std::ios::binary);
    std::string line(kLongLineBytes - 2, 'a');
    for (std::size_t i = 0; i < line.size(); i += 97) line[i] = ' ';
    line += "\r\n";
    for (std::size_t written = 0; written < kBigFileBytes; written += line.size()) out << line;
}

void ReportPeakMemory(benchmark::State& state) {
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_LoadChart(benchmark::State& state) {
    Ports ports;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form(tables, grid, chart::ChartPorts{ports, ports, ports}, g_dir, "www.vantrel.example");
    for (auto _ : state) {
        form.ReadAll(support::FolderSnapshot(g_dir));
        benchmark::DoNotOptimize(grid.RowCount());
    }
    if (grid.RowCount() != chart::kMaxPrograms + 1) state.SkipWithError("chart did not load");
    ReportPeakMemory(state);
}
BENCHMARK(BM_LoadChart)->Unit(benchmark::kMicrosecond);

void BM_LineReaderLongLines(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        chart::LineReader reader(g_bigFile);
        std::string line;
        while (!reader.AtEnd()) {
            reader.ReadLine(line);
            bytes += line.size() + 2;
        }
        benchmark::DoNotOptimize(line.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    ReportPeakMemory(state);
}
BENCHMARK(BM_LineReaderLongLines)->Unit(benchmark::kMillisecond);

void BM_MemchrScanLongLines(benchmark::State& state) {
    std::vector<char> buffer(chart::LineReader::kBufferSize);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const int fd = ::open(g_bigFile.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t lineEnds = 0;
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
            const char* p = buffer.data();
            const char* end = p + n;
            while (const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
                ++lineEnds;
                p = static_cast<const char*>(lf) + 1;
            }
            bytes += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(lineEnds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemchrScanLongLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const support::TempDir scratch("vantrel-bench");
    g_dir = scratch.Path();
    WriteChart();
    WriteBigFile();

    benchmark::Initialize(&argc, argv);
    int status = 0;
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        status = 1;
    } else {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    return status;
}
