#include "update/folder/chart_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "chart/files/chart_folder_lock.h"
#include "update/folder/commit_marker.h"

namespace update {
namespace {

// A file of the chart folder that could not be written, renamed or removed.
Failure FileFailure(const std::string& path, int error) { return WriteFailure({}, path, error); }

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// True when both names lead to the same file (not following links).
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

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

// A staging file is the user's own regular file, as the download left it.
std::optional<Failure> CheckStaged(const WorkFiles& folder, const ChartFile& file) {
    const std::string staging = folder.Staging(file);
    struct stat info;
    if (::lstat(staging.c_str(), &info) != 0) return ReadFailure(staging, errno);
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) return NameTakenFailure(staging);
    return std::nullopt;
}

// Where a hard link is refused for want of links (FAT, exFAT, some shares),
// the file is moved aside instead.
bool LinksRefused(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

// Written in full under its own name, flushed through its own descriptor,
// then renamed into place: a kill or a full disk part-way leaves no marker
// (whose absence would be read as the chart files' set alone), only a work
// file the next start removes.
std::optional<Failure> WriteMarker(const WorkFiles& folder, const CommitMarker& marker) {
    const std::string path = folder.CommitMarkerBeingWritten();
    auto fd = folder.CreateFresh(path);
    if (!fd) return fd.Why();
    const std::string text = marker.Text();
    const ssize_t n = ::write(fd->Get(), text.data(), text.size());
    if (n != static_cast<ssize_t>(text.size())) {
        return FileFailure(path, n < 0 ? errno : ENOSPC);  // a few bytes cut short: the disk is full
    }
    if (::fsync(fd->Get()) != 0 || fd->Close() != 0) return FileFailure(path, errno);
    if (auto failure = folder.FreeName(folder.CommitMarker())) return failure;
    if (std::rename(path.c_str(), folder.CommitMarker().c_str()) != 0) return FileFailure(folder.CommitMarker(), errno);
    return std::nullopt;
}

// Holds the chart folder against reloads while files are renamed. A file
// system without locks goes without. Readers share the lock for milliseconds:
// one that keeps it past the wait is taken for another copy at work. A holder
// that keeps it exclusively is none of ours (every commit of ours holds the
// update lock, as this one does), and may never let go: past a short wait the
// renames go on without it, as readers that cannot take the lock ask the
// update lock and the marker instead.
class RenameGuard {
public:
    RenameGuard(const WorkFiles& folder, chart::WaitPort* window) {
        const std::string& directory = folder.Directory();
        lock_.emplace(directory, chart::ChartFolderLock::Mode::Exclusive, kReaderWait, window);
        if (!lock_->Busy() || lock_->Abandoned()) return;
        goesOn_ = chart::FolderLockedExclusively(directory);
        if (!goesOn_) lock_.emplace(directory, chart::ChartFolderLock::Mode::Exclusive, kCopyWait, window);
    }
    std::optional<Failure> Check() const {
        if (lock_->Abandoned()) return MakeFailure(FailureKind::Cancelled);
        if (lock_->Busy() && !goesOn_) return MakeFailure(FailureKind::AnotherCopyUpdating);
        return std::nullopt;
    }

private:
    static constexpr std::chrono::milliseconds kReaderWait{2000};
    static constexpr std::chrono::milliseconds kCopyWait{8000};
    std::optional<chart::ChartFolderLock> lock_;
    bool goesOn_ = false;
};

// The old files of the marker's set in place of the new: every backup goes
// back over its file, files that did not exist before go, then the staging
// files. Each step can be repeated after a kill. The roll-back marker goes
// once that is durable; if the flush fails it stays and the next start
// repeats this.
std::optional<Failure> RollBack(const WorkFiles& folder, const CommitMarker& marker) {
    const FileSet set = marker.Set();
    for (const ChartFile& file : set) {
        const std::string target = folder.Target(file);
        const std::string backup = folder.Backup(file);
        if (folder.HasBackup(file)) {
            if (!folder.RenameOver(backup, target)) return FileFailure(target, errno);
        } else if (marker.IsNew(file) && folder.IsOwn(target, true) && ::unlink(target.c_str()) != 0 &&
                   errno != ENOENT) {
            return FileFailure(target, errno);
        }
    }
    // A backup that is another name of its chart file is left by rename.
    folder.RemoveCommitBackups(set);
    folder.RemoveStagingFiles();
    if (auto failure = folder.Flush()) return failure;
    ::unlink(folder.RollbackMarker().c_str());
    return std::nullopt;
}

// The marker becomes a roll-back marker (durable before anything moves back,
// or a later start would take a restored file for a renamed one), then the
// old chart goes back.
std::optional<Failure> TurnBack(const WorkFiles& folder, const CommitMarker& marker) {
    if (!folder.RenameOver(folder.CommitMarker(), folder.RollbackMarker())) {
        return FileFailure(folder.RollbackMarker(), errno);
    }
    if (auto failure = folder.Flush()) return failure;
    return RollBack(folder, marker);
}

// The new chart is whole: once the renames are durable the marker goes, then
// the backups (leftovers without a marker are cleared by the next start
// anyway, so that needs no flush). If the flush fails, the marker stays and
// the next start finishes the clean-up.
void EndCommit(const WorkFiles& folder, FileSet set) {
    if (const auto failure = folder.Flush()) return;  // the marker stays for the next start
    ::unlink(folder.CommitMarker().c_str());
    folder.RemoveCommitBackups(set);  // made under the marker that just went
}

// True when a staging file is gone although its chart file was never
// replaced by it: the target is missing, or is still the file its backup
// names. The new chart was lost and the commit cannot be finished.
bool NewFileLost(const WorkFiles& folder, const ChartFile& file) {
    if (folder.IsOwn(folder.Staging(file))) return false;
    const std::string target = folder.Target(file);
    return !Exists(target) || (folder.HasBackup(file) && SameFile(target, folder.Backup(file)));
}

// The marker at path, the user's own. One that cannot be read, or is not
// whole, stops recovery where it is: acting on a guess could put a chart in
// place beside the wrong signatures.
Result<CommitMarker> ReadMarker(const WorkFiles& folder, const std::string& path) {
    // Six short names at most: anything larger is no marker of ours.
    constexpr std::size_t kMarkerCap = 4096;
    auto bytes = folder.ReadOwnFile(path, kMarkerCap);
    if (!bytes) return bytes.Why();
    if (!*bytes) return ReadFailure(path, ENOENT);  // gone since it was seen
    auto marker = CommitMarker::Parse(**bytes);
    if (!marker) {
        Failure damaged = MakeFailure(FailureKind::MarkerDamaged);
        damaged.detail = path;
        return damaged;
    }
    return *marker;
}

std::optional<Failure> RollForward(const WorkFiles& folder) {
    const auto read = ReadMarker(folder, folder.CommitMarker());
    if (!read) return read.Why();
    const CommitMarker& marker = *read;
    const FileSet set = marker.Set();
    for (const ChartFile& file : set) {
        if (NewFileLost(folder, file)) return TurnBack(folder, marker);
    }
    // A file moved aside or not, the staging file's rename replaces it.
    for (const ChartFile& file : set) {
        const std::string staging = folder.Staging(file);
        if (!folder.IsOwn(staging)) continue;  // already renamed
        const std::string target = folder.Target(file);
        if (!folder.RenameOver(staging, target)) return FileFailure(target, errno);
    }
    EndCommit(folder, set);
    return std::nullopt;
}

// Gives each existing file of the set its backup name, a hard link where the
// file system has them; movedAside marks the files that must be renamed to it
// instead, each just before its replacement.
using MovedAside = std::array<bool, kStagedFiles.size()>;
std::optional<Failure> KeepBackups(const WorkFiles& folder, FileSet set, MovedAside& movedAside) {
    for (std::size_t i = 0; i < set.size(); ++i) {
        const std::string target = folder.Target(set[i]);
        const std::string backup = folder.Backup(set[i]);
        if (auto failure = folder.FreeName(backup)) return failure;
        // Not following a symbolic link: the link itself is what gets replaced.
        if (::linkat(AT_FDCWD, target.c_str(), AT_FDCWD, backup.c_str(), 0) == 0 || errno == ENOENT) continue;
        if (!LinksRefused(errno)) return FileFailure(backup, errno);
        movedAside[i] = true;
    }
    return std::nullopt;
}

std::optional<Failure> RenameStagingFiles(const WorkFiles& folder, FileSet set, const MovedAside& movedAside) {
    for (std::size_t i = 0; i < set.size(); ++i) {
        const std::string target = folder.Target(set[i]);
        if (movedAside[i] && !folder.RenameOver(target, folder.Backup(set[i])) &&
            errno != ENOENT) {
            return FileFailure(target, errno);
        }
        if (!folder.RenameOver(folder.Staging(set[i]), target)) {
            return FileFailure(target, errno);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Failure> PrepareKeptFiles(const WorkFiles& folder, FileSet set) {
    for (const ChartFile& file : set) {
        const std::string target = folder.Target(file);
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0) {
            if (errno == ENOENT) continue;
            return ReadFailure(target, errno);
        }
        const bool signature = std::string_view(file.urlPath).ends_with(".minisig");
        if (signature && !S_ISREG(info.st_mode)) {
            // Not a kept signature: cleared, or the run stops here.
            if (auto failure = folder.FreeName(target)) return failure;
        } else if (info.st_uid != ::geteuid()) {
            return NameTakenFailure(target);
        }
    }
    return std::nullopt;
}

bool CommitPending(const WorkFiles& folder) {
    return folder.IsOwn(folder.CommitMarker()) || folder.IsOwn(folder.RollbackMarker());
}

std::optional<Failure> CommitStagingFiles(const WorkFiles& folder, FileSet set) {
    CommitMarker marker(set);
    for (const ChartFile& file : set) {
        // Nothing moves aside for a staging file that is not there to take
        // its place (without hard links the old file would be gone).
        if (auto failure = CheckStaged(folder, file)) return failure;
        const std::string target = folder.Target(file);
        if (auto failure = CheckReplaceable(target)) return failure;
        if (!Exists(target)) marker.MarkNew(file);
    }
    const RenameGuard guard(folder, nullptr);
    if (auto failure = guard.Check()) return failure;
    // First the marker (which set, which files are new), then a second name
    // for each file being replaced. The staging files are already flushed;
    // the marker, the backups and their names must be on disk before any
    // rename is: from then on the new set is decided, and whoever finds the
    // marker finishes what a killed run did not get to.
    MovedAside movedAside{};
    auto failure = WriteMarker(folder, marker);
    if (!failure) failure = KeepBackups(folder, set, movedAside);
    if (!failure) failure = folder.Flush();
    if (failure) {
        folder.RemoveOwn(folder.CommitMarkerBeingWritten());
        folder.RemoveOwn(folder.CommitMarker());
        folder.RemoveCommitBackups(set);
        return failure;
    }
    if ((failure = RenameStagingFiles(folder, set, movedAside))) {
        // Back to the old chart, so the failure the user is told of is all
        // that happened. If even that fails, a marker says what to finish;
        // the rename's failure is the one to report.
        static_cast<void>(TurnBack(folder, marker));
        return failure;
    }
    EndCommit(folder, set);
    return std::nullopt;
}

std::optional<Failure> FinishInterruptedUpdate(const WorkFiles& folder, chart::WaitPort* window) {
    // Only the user's own markers count: anything else at those names is left
    // alone, and the chart is read as it stands.
    const bool rollBack = folder.IsOwn(folder.RollbackMarker());
    if (rollBack || folder.IsOwn(folder.CommitMarker())) {
        const RenameGuard guard(folder, window);
        if (auto failure = guard.Check()) return failure;
        if (rollBack) {
            const auto marker = ReadMarker(folder, folder.RollbackMarker());
            if (!marker) return marker.Why();
            return RollBack(folder, *marker);
        }
        return RollForward(folder);
    }
    // Without a marker, staging files and backups are only the remains of an
    // unfinished download.
    folder.RemoveStagingFiles();
    folder.RemoveBackups();
    return std::nullopt;
}

void DiscardStagingFiles(const WorkFiles& folder) {
    if (!CommitPending(folder)) folder.RemoveStagingFiles();
}

}  // namespace update
