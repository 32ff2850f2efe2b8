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

constexpr const char* kMarkupRule = "it begins as markup or JSON (a web page, an error document), not as a chart file";

bool StartsAsMarkupOrJson(std::string_view start) {
    start = SkipBlanksAndMarks(start);
    return !start.empty() && (start.front() == '<' || start.front() == '{');
}

std::optional<NotAChart> ReadersRefuse(const chart::DataFileSummary& data, const chart::PolicyFileSummary& policy,
                                       std::string_view latestVersion) {
    if (data.programs == 0) return NotAChart{0, "it holds no complete program record"};
    if (policy.tests == 0) return NotAChart{1, "it holds no complete test"};
    // The newest version on offer, as the version gate will read it.
    if (!chart::ascii::IsDigits(latestVersion)) return NotAChart{2, "its first line is not a version number"};
    return std::nullopt;
}

}  // namespace

std::optional<NotAChart> WhyNotAChart(const std::array<std::string, 3>& paths) {
    for (std::size_t file = 0; file < paths.size(); ++file) {
        if (BeginsAsMarkupOrJson(paths[file])) return NotAChart{file, kMarkupRule};
    }
    // The readers write somewhere: scratch tables, and a grid with no
    // selection handler. Nothing is shown.
    chart::ChartTables tables;
    chart::GridModel grid;
    std::size_t file = 0;
    try {
        const auto data = chart::ReadDataFile(paths[0], tables, grid);
        file = 1;
        const auto policy = chart::ReadPolicyFile(paths[1], tables);
        file = 2;
        chart::ReadVersionFile(paths[2], tables);
        return ReadersRefuse(data, policy, tables.LatestVersion);
    } catch (const std::exception& failure) {
        // A file the readers would refuse with their message.
        return NotAChart{file, std::string("it cannot be read: ") + failure.what()};
    } catch (...) {
        return NotAChart{file, "it cannot be read"};
    }
}

std::optional<NotAChart> WhyReadBytesAreNotAChart(const std::array<std::string_view, 3>& bytes,
                                                  const chart::DataFileSummary& data,
                                                  const chart::PolicyFileSummary& policy,
                                                  std::string_view latestVersion) {
    for (std::size_t file = 0; file < bytes.size(); ++file) {
        if (StartsAsMarkupOrJson(bytes[file])) return NotAChart{file, kMarkupRule};
    }
    return ReadersRefuse(data, policy, latestVersion);
}

bool StagedFilesAreAChart(const std::string& directory) {
    return !WhyNotAChart({StagingPath(directory, kChartFiles[0]), StagingPath(directory, kChartFiles[1]),
                          StagingPath(directory, kChartFiles[2])});
}

}  // namespace update
