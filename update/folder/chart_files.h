#pragma once
// The three files an update replaces and where each comes from. Their work
// files in the chart folder (staging files, backups, markers) are named and
// made by WorkFiles.
#include <array>
#include <string>

#include "chart/files/chart_file_set.h"

namespace update {

struct ChartFile {
    const char* urlPath;  // on the data server
    const char* name;     // bare local name
};

// In download order.
inline constexpr std::array<ChartFile, 3> kChartFiles{{
    {"/data.dat", chart::kDataFileName},
    {"/policy.dat", chart::kPolicyFileName},
    {"/version.dat", chart::kVersionFileName},
}};

// The staging file a download is written to until all three have arrived
// (WorkFiles::Staging).
std::string StagingPath(const std::string& directory, const ChartFile& file);

}  // namespace update
