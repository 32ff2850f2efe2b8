#include "staged_chart_check.h"

#include <cctype>
#include <fcntl.h>
#include <unistd.h>

#include "ascii_text.h"
#include "chart/files/data_file.h"
#include "chart/files/policy_file.h"
#include "chart_files.h"

namespace update {
namespace {

// Enough for any white space a web page may start with.
constexpr std::size_t kHeadBytes = 4096;

std::string ReadHead(const std::string& path) {
    std::string head;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return head;
    char buffer[kHeadBytes];
    ssize_t n;
    while (head.size() < kHeadBytes && (n = ::read(fd, buffer, kHeadBytes - head.size())) > 0) {
        head.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return head;
}

bool HasCompleteTest(const chart::ChartTables& tables) {
    for (int test = 1; test <= chart::kTestCount; ++test) {
        // The count is stored when a test's empty line is read; "-1" is the
        // mark of an empty line with no test before it.
        const std::string& count = tables.TestPolicy(test, 0);
        if (!count.empty() && count.front() != '-') return true;
    }
    return false;
}

}  // namespace

bool LooksLikeWebPage(std::string_view start) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    for (;;) {
        if (!start.empty() && std::isspace(static_cast<unsigned char>(start.front()))) {
            start.remove_prefix(1);
        } else if (start.starts_with(kByteOrderMark)) {
            start.remove_prefix(kByteOrderMark.size());
        } else {
            break;
        }
    }
    return StartsWithNoCase(start, "<!doctype html") || StartsWithNoCase(start, "<html");
}

bool StagedFilesAreAChart(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        if (LooksLikeWebPage(ReadHead(StagingPath(directory, file)))) return false;
    }

    // Scratch tables and a grid with no selection handler: nothing is shown.
    chart::ChartTables tables;
    chart::GridModel grid;
    try {
        chart::ReadDataFile(StagingPath(directory, kChartFiles[0]), tables, grid);
        // The reader ends with a fixed row and a row per complete record; with
        // no complete record the fixed row is gone too.
        const bool hasProgram = grid.FixedRows() > 0 && grid.RowCount() > grid.FixedRows();
        chart::ReadPolicyFile(StagingPath(directory, kChartFiles[1]), tables);
        return hasProgram && HasCompleteTest(tables);
    } catch (...) {
        return false;  // a file the readers would refuse with their message
    }
}

}  // namespace update
