#include "update/check/staged_chart_check.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <string_view>

#include "chart/files/data_file.h"
#include "chart/files/policy_file.h"
#include "chart/files/unique_fd.h"
#include "chart/files/version_file.h"
#include "chart/text/ascii.h"
#include "update/folder/chart_files.h"

namespace update {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view SkipBlanksAndMarks(std::string_view text) {
    for (;;) {
        if (!text.empty() && chart::ascii::IsSpace(text.front())) {
            text.remove_prefix(1);
        } else if (text.starts_with(kByteOrderMark)) {
            text.remove_prefix(kByteOrderMark.size());
        } else {
            return text;
        }
    }
}

// The first bytes of a file once white space and byte-order marks are passed
// (however many there are): enough to tell a mark from what follows it.
std::string StartAfterBlanks(const std::string& path) {
    std::string start;
    const chart::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd) return start;
    char buffer[4096];
    while (start.size() < kByteOrderMark.size()) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        start.append(buffer, static_cast<std::size_t>(n));
        start.erase(0, start.size() - SkipBlanksAndMarks(start).size());
    }
    return start;
}

// "<": any markup (an XML prolog, a comment, a doctype, a tag); "{": a JSON
// object. No chart file begins so: the data file with a web address, the
// policy file with a test's title, the version file with a number.
bool BeginsAsMarkupOrJson(const std::string& path) {
    const std::string start = StartAfterBlanks(path);
    return !start.empty() && (start.front() == '<' || start.front() == '{');
}

}  // namespace

bool StagedFilesAreAChart(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        if (BeginsAsMarkupOrJson(StagingPath(directory, file))) return false;
    }

    // The readers write somewhere: scratch tables, and a grid with no
    // selection handler. Nothing is shown.
    chart::ChartTables tables;
    chart::GridModel grid;
    try {
        const auto data = chart::ReadDataFile(StagingPath(directory, kChartFiles[0]), tables, grid);
        const auto policy = chart::ReadPolicyFile(StagingPath(directory, kChartFiles[1]), tables);
        chart::ReadVersionFile(StagingPath(directory, kChartFiles[2]), tables);
        // The newest version on offer, as the version gate will read it.
        return data.programs > 0 && policy.tests > 0 && chart::ascii::IsDigits(tables.LatestVersion);
    } catch (...) {
        return false;  // a file the readers would refuse with their message
    }
}

}  // namespace update
