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

// A file of the chart folder that could not be written, renamed or removed.
Failure FileFailure(const std::string& path, int error) { return WriteFailure({}, path, error); }

// A rename can put a file at path when nothing is there, or a regular file, or
// a symbolic link (the link is replaced) that leads to a regular file or nowhere.
std::optional<Failure> CheckReplaceable(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return std::nullopt;
        return FileFailure(path, errno);
    }
    if (S_ISREG(info.st_mode)) return std::nullopt;
    if (S_ISLNK(info.st_mode) && (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))) {
        return std::nullopt;
    }
    Failure notAFile = MakeFailure(FailureKind::NotAFile);
    notAFile.detail = path;
    return notAFile;
}

// The marker holds the names of the chart files that did not exist before,
// one a line: a roll-back removes those instead of restoring them.
std::optional<Failure> WriteMarker(const std::string& path, const std::string& absent) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return FileFailure(path, errno);
    std::optional<Failure> failure;
    const ssize_t n = ::write(fd, absent.data(), absent.size());
    if (n != static_cast<ssize_t>(absent.size())) {
        failure = FileFailure(path, n < 0 ? errno : ENOSPC);  // a few bytes cut short: the disk is full
    } else if (::fsync(fd) != 0) {
        failure = FileFailure(path, errno);
    }
    ::close(fd);
    return failure;
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

std::optional<Failure> CheckTargets(const std::string& directory) {
    for (const ChartFile& file : kChartFiles) {
        if (auto failure = CheckReplaceable(chart::LocalPath(directory, file.name))) return failure;
    }
    return std::nullopt;
}

// A second name for each chart file that exists; absent collects the others.
std::optional<Failure> KeepBackups(const std::string& directory, std::string& absent) {
    for (const ChartFile& file : kChartFiles) {
        const std::string backup = BackupPath(directory, file);
        ::unlink(backup.c_str());
        // Not following a symbolic link: the link itself is what gets replaced.
        if (::linkat(AT_FDCWD, chart::LocalPath(directory, file.name).c_str(), AT_FDCWD,
                     backup.c_str(), 0) == 0) {
            continue;
        }
        if (errno != ENOENT) return FileFailure(backup, errno);
        absent += file.name;
        absent += '\n';
    }
    return std::nullopt;
}

// Renames the staging files still present over the final ones, in download
// order; when missingIsDone, a missing staging file counts as already renamed.
std::optional<Failure> RenameStagingFiles(const std::string& directory, bool missingIsDone) {
    for (const ChartFile& file : kChartFiles) {
        const std::string target = chart::LocalPath(directory, file.name);
        if (std::rename(StagingPath(directory, file).c_str(), target.c_str()) != 0 &&
            !(missingIsDone && errno == ENOENT)) {
            return FileFailure(target, errno);
        }
    }
    return std::nullopt;
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
std::optional<Failure> RollBack(const std::string& directory, const std::string& absent) {
    for (const ChartFile& file : kChartFiles) {
        const std::string target = chart::LocalPath(directory, file.name);
        if (std::rename(BackupPath(directory, file).c_str(), target.c_str()) == 0) continue;
        if (errno != ENOENT) return FileFailure(target, errno);
        if (Listed(absent, file.name) && ::unlink(target.c_str()) != 0 && errno != ENOENT) {
            return FileFailure(target, errno);
        }
    }
    SyncDirectory(directory);
    // A backup that is another name of its chart file is left by rename.
    RemoveBackupFiles(directory);
    RemoveStagingFiles(directory);
    SyncDirectory(directory);
    ::unlink(RollbackMarkerPath(directory).c_str());
    SyncDirectory(directory);
    return std::nullopt;
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

std::optional<Failure> CommitStagingFiles(const std::string& directory) {
    if (auto failure = CheckTargets(directory)) return failure;
    // The staging files are already synced; the backups, the marker and their
    // names must be on disk before any rename is.
    const std::string marker = CommitMarkerPath(directory);
    std::string absent;
    auto failure = KeepBackups(directory, absent);
    if (!failure) failure = WriteMarker(marker, absent);
    if (failure) {
        if (IsRegularFile(marker)) ::unlink(marker.c_str());
        RemoveBackupFiles(directory);
        SyncDirectory(directory);
        return failure;
    }
    SyncDirectory(directory);
    if ((failure = RenameStagingFiles(directory, false))) {
        // Back to the old chart, so the failure the user is told of is all
        // that happened. If even that fails, the marker says what to finish.
        const std::string rollback = RollbackMarkerPath(directory);
        if (std::rename(marker.c_str(), rollback.c_str()) == 0) {
            SyncDirectory(directory);
            // The rename's failure is the one to report.
            static_cast<void>(RollBack(directory, absent));
        }
        return failure;
    }
    EndCommit(directory);
    return std::nullopt;
}

std::optional<Failure> FinishInterruptedUpdate(const std::string& chartDirectory) {
    const std::string rollback = RollbackMarkerPath(chartDirectory);
    if (IsRegularFile(rollback)) return RollBack(chartDirectory, ReadMarker(rollback));
    if (IsRegularFile(CommitMarkerPath(chartDirectory))) {
        if (auto failure = RenameStagingFiles(chartDirectory, true)) return failure;
        EndCommit(chartDirectory);
        return std::nullopt;
    }
    RemoveStagingFiles(chartDirectory);
    RemoveBackupFiles(chartDirectory);
    return std::nullopt;
}

void DiscardStagingFiles(const std::string& directory) {
    if (!CommitPending(directory)) RemoveStagingFiles(directory);
}

}  // namespace update
