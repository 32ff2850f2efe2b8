#pragma once
// The three files an update replaces, where each comes from, and the staging
// files the new bodies are written to until all three have arrived.
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

// A fixed name per file beside the final one, so a leftover from a run that
// was killed is recognised by the next start or update.
std::string StagingName(const ChartFile& file);
std::string StagingPath(const std::string& directory, const ChartFile& file);

// Where the commit keeps a second name (a hard link) of the file it replaces,
// so a commit that fails part-way can put the old chart back.
std::string BackupPath(const std::string& directory, const ChartFile& file);

// Removes the staging files of all three; missing ones are fine.
void RemoveStagingFiles(const std::string& directory);
// Removes the backups of all three; missing ones are fine.
void RemoveBackupFiles(const std::string& directory);

}  // namespace update
