#include "update/folder/chart_files.h"

#include "update/folder/work_files.h"

namespace update {

std::string StagingPath(const std::string& directory, const ChartFile& file) {
    return WorkFiles(directory).Staging(file);
}

}  // namespace update
