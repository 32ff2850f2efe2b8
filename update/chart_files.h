#pragma once
// The three files an update replaces, where each comes from, and the staging
// files the new bodies are written to until all three have arrived.
#include <array>
#include <string>

namespace update {

struct ChartFile {
    const char* urlPath;  // on the data server
    const char* name;     // bare local name
};

// In download order.
inline constexpr std::array<ChartFile, 3> kChartFiles{{
    {"/data.dat", "data"},
    {"/policy.dat", "policy"},
    {"/version.dat", "version"},
}};

// A fixed name per file beside the final one, so a leftover from a run that
// was killed is recognised by the next start or update.
std::string StagingPath(const std::string& directory, const ChartFile& file);

// Removes the staging files of all three; missing ones are fine.
void RemoveStagingFiles(const std::string& directory);

}  // namespace update
