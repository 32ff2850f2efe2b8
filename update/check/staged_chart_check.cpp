// The staged files read once and judged by the chart core's rules before the commit.
#include "update/check/staged_chart_check.h"

#include <array>
#include <cerrno>
#include <optional>
#include <string>

#include "chart/files/chart_file_set.h"
#include "chart/verify/chart_bytes_check.h"

namespace update {

Result<StagedChart> ReadStagedChart(const folder::WorkFiles& folder) {
    using folder::kChartFiles;
    const auto refused = [](const chart::NotAChart& why) {
        Failure notAChart = MakeFailure(FailureKind::NotAChart, kChartFiles[why.file].urlPath);
        notAChart.detail = why.rule;
        return notAChart;
    };
    std::array<std::optional<std::string>, 3> bytes;
    for (std::size_t file = 0; file < kChartFiles.size(); ++file) {
        // A staging file that cannot be read is the folder's fault, not the server's.
        const std::string staging = folder.Staging(kChartFiles[file]);
        auto read = folder.ReadOwnFile(staging, chart::kChartFileSizeCap);
        if (!read && read.Why().error == EFBIG) return refused({file, "it is larger than a chart file may be"});
        if (!read) return FromFolder(read.Why());
        if (!*read) return FromFolder(folder::ReadFailure(staging, ENOENT));
        bytes[file] = std::move(**read);
    }
    StagedChart staged(bytes);
    if (const auto why = chart::WhyBytesAreNotAChart(staged)) return refused(*why);
    return staged;
}

}  // namespace update
