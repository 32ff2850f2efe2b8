#include "chart_commit.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "chart_files.h"
#include "chart/files/local_path.h"

namespace update {
namespace {

// Best effort: a directory that cannot be synced still holds its entries.
void SyncDirectory(const std::string& directory) {
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// The marker says all it needs by existing; it is empty.
bool WriteMarker(const std::string& path, CommitError& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = {path, errno};
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    if (!synced) error = {path, errno};
    ::close(fd);
    return synced;
}

// Renames the staging files still present over the final ones, in download
// order; when missingIsDone, a missing staging file counts as already renamed.
bool RenameStagingFiles(const std::string& directory, bool missingIsDone, int& renamed,
                        CommitError& error) {
    for (const ChartFile& file : kChartFiles) {
        const std::string target = chart::LocalPath(directory, file.name);
        if (std::rename(StagingPath(directory, file).c_str(), target.c_str()) == 0) {
            ++renamed;
        } else if (!(missingIsDone && errno == ENOENT)) {
            error = {target, errno};
            return false;
        }
    }
    return true;
}

void RemoveMarker(const std::string& directory) {
    std::remove(CommitMarkerPath(directory).c_str());
    SyncDirectory(directory);
}

}  // namespace

std::string CommitMarkerPath(const std::string& directory) {
    return directory + "/.vantrel-update-commit";
}

bool CommitPending(const std::string& directory) {
    struct stat info;
    return ::lstat(CommitMarkerPath(directory).c_str(), &info) == 0;
}

bool CommitStagingFiles(const std::string& directory, CommitError& error) {
    // The staging files are already synced; the marker and their names must
    // be on disk before any rename is.
    if (!WriteMarker(CommitMarkerPath(directory), error)) {
        RemoveMarker(directory);
        return false;
    }
    SyncDirectory(directory);
    int renamed = 0;
    if (!RenameStagingFiles(directory, false, renamed, error)) {
        // Nothing moved yet: the old chart stays whole. Otherwise the marker
        // stays so the rest is put in place next time.
        if (renamed == 0) RemoveMarker(directory);
        return false;
    }
    SyncDirectory(directory);
    RemoveMarker(directory);
    return true;
}

bool FinishInterruptedUpdate(const std::string& chartDirectory, CommitError& error) {
    if (!CommitPending(chartDirectory)) {
        RemoveStagingFiles(chartDirectory);
        return true;
    }
    int renamed = 0;
    if (!RenameStagingFiles(chartDirectory, true, renamed, error)) return false;
    SyncDirectory(chartDirectory);
    RemoveMarker(chartDirectory);
    return true;
}

bool FinishInterruptedUpdate(const std::string& chartDirectory) {
    CommitError ignored;
    return FinishInterruptedUpdate(chartDirectory, ignored);
}

void DiscardStagingFiles(const std::string& directory) {
    if (!CommitPending(directory)) RemoveStagingFiles(directory);
}

}  // namespace update
