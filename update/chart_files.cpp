#include "chart_files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

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

bool CommitStagingFiles(const std::string& directory, CommitError& error) {
    for (const ChartFile& file : kChartFiles) {
        const std::string target = FinalPath(directory, file);
        if (std::rename(StagingPath(directory, file).c_str(), target.c_str()) != 0) {
            error = {target, errno};
            return false;
        }
    }
    // Best effort: a directory that cannot be synced still holds the new files.
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace update
