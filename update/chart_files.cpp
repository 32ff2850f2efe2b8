#include "chart_files.h"

#include <cstdio>

#include "chart/files/local_path.h"

namespace update {

std::string StagingPath(const std::string& directory, const ChartFile& file) {
    return chart::LocalPath(directory, std::string(".vantrel-update-") + file.name + ".tmp");
}

void RemoveStagingFiles(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        std::remove(StagingPath(directory, file).c_str());
    }
}

}  // namespace update
