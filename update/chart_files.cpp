#include "chart_files.h"

#include <cstdio>

#include "chart/files/local_path.h"

namespace update {

std::string StagingName(const ChartFile& file) {
    return std::string(".vantrel-update-") + file.name + ".tmp";
}

std::string StagingPath(const std::string& directory, const ChartFile& file) {
    return chart::LocalPath(directory, StagingName(file));
}

std::string BackupPath(const std::string& directory, const ChartFile& file) {
    return chart::LocalPath(directory, std::string(".vantrel-update-") + file.name + ".old");
}

void RemoveStagingFiles(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        std::remove(StagingPath(directory, file).c_str());
    }
}

void RemoveBackupFiles(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        std::remove(BackupPath(directory, file).c_str());
    }
}

}  // namespace update
