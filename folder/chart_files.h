#pragma once
// The files an update puts in place, from the chart core's one table: the three
// chart files and, for a signed chart, the signatures kept beside them.
#include <array>
#include <span>
#include <string>

#include "chart/files/chart_file_set.h"

namespace folder {

struct ChartFile {
    const char* urlPath;  // on the data server
    const char* name;     // bare local name
    bool signature;       // a kept signature, not a chart file
};

// In download order.
inline constexpr std::array<ChartFile, 3> kChartFiles = [] {
    std::array<ChartFile, 3> files{};
    for (std::size_t i = 0; i < files.size(); ++i)
        files[i] = {chart::kChartFileTable[i].urlPath, chart::kChartFileTable[i].name, false};
    return files;
}();

// In the order of kChartFiles, each the publisher's signature of the chart
// file at the same place, kept beside the chart once accepted.
inline constexpr std::array<ChartFile, 3> kSignatureFiles = [] {
    std::array<ChartFile, 3> files{};
    for (std::size_t i = 0; i < files.size(); ++i)
        files[i] = {chart::kChartFileTable[i].signatureUrlPath, chart::kChartFileTable[i].keptSignature, true};
    return files;
}();

// Every file a run may stage: the chart files, then their signatures.
inline constexpr std::array<ChartFile, 6> kStagedFiles = [] {
    std::array<ChartFile, 6> all{};
    for (std::size_t i = 0; i < 3; ++i) {
        all[i] = kChartFiles[i];
        all[i + 3] = kSignatureFiles[i];
    }
    return all;
}();

// The files a run stages and commits as one all-or-nothing set: the chart
// files, and their signatures when the chart is signed.
using FileSet = std::span<const ChartFile>;
constexpr FileSet StagedSet(bool withSignatures) {
    return FileSet(kStagedFiles).first(withSignatures ? kStagedFiles.size() : kChartFiles.size());
}

}  // namespace folder
