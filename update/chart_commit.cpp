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

bool IsRegularFile(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A rename can put a file at path when nothing is there, or a regular file, or
// a symbolic link (the link is replaced) that leads to a regular file or nowhere.
bool CheckReplaceable(const std::string& path, CommitError& error) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return true;
        error = {path, errno};
        return false;
    }
    if (S_ISREG(info.st_mode)) return true;
    if (S_ISLNK(info.st_mode) && (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))) {
        return true;
    }
    error = {path, 0, true};
    return false;
}

// The marker holds the names of the chart files that did not exist before,
// one a line: a roll-back removes those instead of restoring them.
bool WriteMarker(const std::string& path, const std::string& absent, CommitError& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        error = {path, errno};
        return false;
    }
    const ssize_t n = ::write(fd, absent.data(), absent.size());
    bool written = n == static_cast<ssize_t>(absent.size());
    if (!written) {
        error = {path, n < 0 ? errno : ENOSPC};  // a few bytes cut short: the disk is full
    } else if (::fsync(fd) != 0) {
        error = {path, errno};
        written = false;
    }
    ::close(fd);
    return written;
}

std::string ReadMarker(const std::string& path) {
    std::string content;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return content;
    char buffer[256];  // three short names at most
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && content.size() < 4096) {
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

bool Listed(const std::string& absent, const char* name) {
    return ("\n" + absent).find("\n" + std::string(name) + "\n") != std::string::npos;
}

bool CheckTargets(const std::string& directory, CommitError& error) {
    for (const ChartFile& file : kChartFiles) {
        if (!CheckReplaceable(chart::LocalPath(directory, file.name), error)) return false;
    }
    return true;
}

// A second name for each chart file that exists; absent collects the others.
bool KeepBackups(const std::string& directory, std::string& absent, CommitError& error) {
    for (const ChartFile& file : kChartFiles) {
        const std::string backup = BackupPath(directory, file);
        ::unlink(backup.c_str());
        // Not following a symbolic link: the link itself is what gets replaced.
        if (::linkat(AT_FDCWD, chart::LocalPath(directory, file.name).c_str(), AT_FDCWD,
                     backup.c_str(), 0) == 0) {
            continue;
        }
        if (errno != ENOENT) {
            error = {backup, errno};
            return false;
        }
        absent += file.name;
        absent += '\n';
    }
    return true;
}

// Renames the staging files still present over the final ones, in download
// order; when missingIsDone, a missing staging file counts as already renamed.
bool RenameStagingFiles(const std::string& directory, bool missingIsDone, CommitError& error) {
    for (const ChartFile& file : kChartFiles) {
        const std::string target = chart::LocalPath(directory, file.name);
        if (std::rename(StagingPath(directory, file).c_str(), target.c_str()) != 0 &&
            !(missingIsDone && errno == ENOENT)) {
            error = {target, errno};
            return false;
        }
    }
    return true;
}

// The new chart is whole: the backups and then the marker go.
void EndCommit(const std::string& directory) {
    SyncDirectory(directory);
    RemoveBackupFiles(directory);
    SyncDirectory(directory);
    ::unlink(CommitMarkerPath(directory).c_str());
    SyncDirectory(directory);
}

// With the roll-back marker in place: every backup goes back over its chart
// file, chart files that did not exist before go, then the staging files and
// the marker. Each step can be repeated after a kill.
bool RollBack(const std::string& directory, const std::string& absent, CommitError& error) {
    for (const ChartFile& file : kChartFiles) {
        const std::string target = chart::LocalPath(directory, file.name);
        if (std::rename(BackupPath(directory, file).c_str(), target.c_str()) == 0) continue;
        if (errno != ENOENT) {
            error = {target, errno};
            return false;
        }
        if (Listed(absent, file.name) && ::unlink(target.c_str()) != 0 && errno != ENOENT) {
            error = {target, errno};
            return false;
        }
    }
    SyncDirectory(directory);
    // A backup that is another name of its chart file is left by rename.
    RemoveBackupFiles(directory);
    RemoveStagingFiles(directory);
    SyncDirectory(directory);
    ::unlink(RollbackMarkerPath(directory).c_str());
    SyncDirectory(directory);
    return true;
}

}  // namespace

std::string CommitMarkerPath(const std::string& directory) {
    return chart::LocalPath(directory, ".vantrel-update-commit");
}

std::string RollbackMarkerPath(const std::string& directory) {
    return chart::LocalPath(directory, ".vantrel-update-rollback");
}

bool CommitPending(const std::string& directory) {
    return IsRegularFile(CommitMarkerPath(directory)) || IsRegularFile(RollbackMarkerPath(directory));
}

bool CommitStagingFiles(const std::string& directory, CommitError& error) {
    if (!CheckTargets(directory, error)) return false;
    // The staging files are already synced; the backups, the marker and their
    // names must be on disk before any rename is.
    const std::string marker = CommitMarkerPath(directory);
    std::string absent;
    if (!KeepBackups(directory, absent, error) || !WriteMarker(marker, absent, error)) {
        if (IsRegularFile(marker)) ::unlink(marker.c_str());
        RemoveBackupFiles(directory);
        SyncDirectory(directory);
        return false;
    }
    SyncDirectory(directory);
    if (!RenameStagingFiles(directory, false, error)) {
        // Back to the old chart, so the failure the user is told of is all
        // that happened. If even that fails, the marker says what to finish.
        const std::string rollback = RollbackMarkerPath(directory);
        if (std::rename(marker.c_str(), rollback.c_str()) == 0) {
            SyncDirectory(directory);
            CommitError ignored;  // the rename's error is the one to report
            RollBack(directory, absent, ignored);
        }
        return false;
    }
    EndCommit(directory);
    return true;
}

bool FinishInterruptedUpdate(const std::string& chartDirectory, CommitError& error) {
    const std::string rollback = RollbackMarkerPath(chartDirectory);
    if (IsRegularFile(rollback)) return RollBack(chartDirectory, ReadMarker(rollback), error);
    if (IsRegularFile(CommitMarkerPath(chartDirectory))) {
        if (!RenameStagingFiles(chartDirectory, true, error)) return false;
        EndCommit(chartDirectory);
        return true;
    }
    RemoveStagingFiles(chartDirectory);
    RemoveBackupFiles(chartDirectory);
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
