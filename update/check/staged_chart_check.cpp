#include "update/check/staged_chart_check.h"

#include <cerrno>
#include <exception>
#include <string_view>

#include "chart/files/chart_file_set.h"
#include "chart/files/data_file.h"
#include "chart/files/policy_file.h"
#include "chart/files/version_file.h"
#include "chart/text/ascii.h"

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

constexpr const char* kMarkupRule = "it begins as markup or JSON (a web page, an error document), not as a chart file";

bool StartsAsMarkupOrJson(std::string_view start) {
    start = SkipBlanksAndMarks(start);
    return !start.empty() && (start.front() == '<' || start.front() == '{');
}

// The data file's rows, read and let go: the check needs only the count of
// complete programs the reader reports.
class DroppedRows : public chart::DataRows {
public:
    void Begin() override {}
    int RowOf(int program) const override { return program + 1; }
    void SetCell(int, int, std::string) override {}
    void AddRow() override {}
    void End() override {}
};

std::optional<NotAChart> ReadersRefuse(const chart::DataFileSummary& data, const chart::PolicyFileSummary& policy,
                                       std::string_view latestVersion) {
    if (data.programs == 0) return NotAChart{0, "it holds no complete program record"};
    if (policy.tests == 0) return NotAChart{1, "it holds no complete test"};
    // The newest version on offer, as the version gate will read it.
    if (!chart::ascii::IsDigits(latestVersion)) return NotAChart{2, "its first line is not a version number"};
    return std::nullopt;
}

}  // namespace

Result<StagedChart> ReadStagedChart(const WorkFiles& folder) {
    const auto refused = [](const NotAChart& why) {
        Failure notAChart = MakeFailure(FailureKind::NotAChart, kChartFiles[why.file].urlPath);
        notAChart.detail = why.rule;
        return notAChart;
    };
    StagedChart bytes;
    for (std::size_t file = 0; file < kChartFiles.size(); ++file) {
        // A staging file that cannot be read is the folder's fault, not the server's.
        const std::string staging = folder.Staging(kChartFiles[file]);
        auto read = folder.ReadOwnFile(staging, chart::kChartFileSizeCap);
        if (!read && read.Why().error == EFBIG) return refused({file, "it is larger than a chart file may be"});
        if (!read) return read.Why();
        if (!*read) return ReadFailure(staging, ENOENT);
        bytes[file] = std::move(**read);
    }
    // The readers write somewhere: scratch tables, and rows nobody keeps.
    // Nothing is shown.
    chart::ChartTables tables;
    DroppedRows rows;
    std::size_t file = 0;
    try {
        const auto data = chart::ReadDataBytes(bytes[0], tables, rows);
        file = 1;
        const auto policy = chart::ReadPolicyBytes(bytes[1], tables);
        file = 2;
        chart::ReadVersionBytes(bytes[2], tables);
        if (const auto why = WhyReadBytesAreNotAChart({bytes[0], bytes[1], bytes[2]}, data, policy,
                                                      tables.LatestVersion)) {
            return refused(*why);
        }
    } catch (const std::exception& failure) {
        // A file the readers would refuse with their message.
        return refused({file, std::string("it cannot be read: ") + failure.what()});
    }
    return bytes;
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

}  // namespace update
