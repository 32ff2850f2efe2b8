#include "chart_files.h"

#include <cstdio>

namespace update {

std::string FinalPath(const std::string& directory, const ChartFile& file) {
    return directory + "/" + file.name;
}

std::string StagingPath(const std::string& directory, const ChartFile& file) {
    return directory + "/.vantrel-update-" + file.name + ".tmp";
}

void RemoveStagingFiles(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        std::remove(StagingPath(directory, file).c_str());
    }
}

}  // namespace update
