// The commit: staging files put in place all or none, and a commit cut off finished; each step says why.
#include "folder/chart_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "folder/chart_folder_lock.h"
#include "folder/commit_marker.h"
#include "folder/folder_protocol.h"
#include "folder/lock_holders.h"
#include "folder/marker_lock.h"

namespace folder {
namespace {

// A file of the chart folder that could not be written, renamed or removed.
Failure FileFailure(const std::string& path, int error) { return WriteFailure(path, error); }

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
    return MakeFailure(Failure::Kind::NotAFile, path);
}

// A staging file is the user's own regular file, as the download left it.
std::optional<Failure> CheckStaged(const WorkFiles& folder, const ChartFile& file) {
    const std::string staging = folder.Staging(file);
    struct stat info;
    if (::lstat(staging.c_str(), &info) != 0) return ReadFailure(staging, errno);
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) return NameTakenFailure(staging);
    return std::nullopt;
}

// How long the folder's lock is tried before its holder is asked about, and
// how long this user's readers are waited for.
constexpr std::chrono::milliseconds kReaderWait{2000};
constexpr std::chrono::milliseconds kCopyWait{10000};

// Where a hard link is refused for want of links (FAT, exFAT, some shares),
// the file is moved aside instead.
bool LinksRefused(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

// Written in full under its own name, flushed through its own descriptor,
// then renamed into place: a kill or a full disk part-way leaves no marker
// (whose absence would be read as the chart files' set alone), only a work
// file the next start removes. Locked before a byte is written, so that from
// the moment it is in place readers see its writer at work; the lock goes
// with the commit.
Result<MarkerLock> WriteMarker(const WorkFiles& folder, const CommitMarker& marker) {
    const std::string path = folder.CommitMarkerBeingWritten();
    auto fd = folder.CreateFresh(path);
    if (!fd) return fd.Why();
    MarkerLock lock(std::move(*fd));
    const std::string text = marker.Text();
    const ssize_t n = ::write(lock.Fd(), text.data(), text.size());
    if (n != static_cast<ssize_t>(text.size())) {
        return FileFailure(path, n < 0 ? errno : ENOSPC);  // a few bytes cut short: the disk is full
    }
    if (::fsync(lock.Fd()) != 0) return FileFailure(path, errno);
    if (auto failure = folder.FreeName(folder.CommitMarker())) return *failure;
    if (std::rename(path.c_str(), folder.CommitMarker().c_str()) != 0) return FileFailure(folder.CommitMarker(), errno);
    return lock;
}

// Holds the chart folder against reloads while files are renamed. A file
// system without locks goes without. Who else may hold it, and how long each
// is waited for, is the protocol's table of renames (folder_protocol.cpp).
class RenameGuard {
public:
    RenameGuard(const WorkFiles& folder, chart::WaitPort* window) {
        const std::string& directory = folder.Directory();
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            lock_.emplace(directory, ChartFolderLock::Mode::Exclusive, std::chrono::milliseconds(0));
            if (!lock_->Busy()) return;  // held, or a file system without locks
            switch (RenameStepFor(HoldersOf(directory), WaitedSince(start))) {
            case RenameStep::Take:  // let go meanwhile
            case RenameStep::KeepTrying:
                break;
            case RenameStep::GoOnWithout:
                return;
            case RenameStep::Refuse:
                refused_ = true;
                return;
            }
            if (window && !window->KeepWaiting()) {
                abandoned_ = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(window ? 10 : 2));
        }
    }
    std::optional<Failure> Check() const {
        if (abandoned_) return MakeFailure(Failure::Kind::Cancelled);
        if (refused_) return MakeFailure(Failure::Kind::AnotherCopyUpdating);
        return std::nullopt;
    }

private:
    static Holders HoldersOf(const std::string& directory) {
        Holders holders = ClassifyHolders(directory, ::geteuid(), true);
        // Without a list of locks, a try to share it tells the mode.
        if (holders.kind == HolderKind::Unknown) {
            const ChartFolderLock share(directory, ChartFolderLock::Mode::Shared, std::chrono::milliseconds(0));
            holders.exclusive = share.Busy();
        }
        return holders;
    }
    static RenameWait WaitedSince(std::chrono::steady_clock::time_point start) {
        const auto waited = std::chrono::steady_clock::now() - start;
        return waited < kReaderWait ? RenameWait::Short : waited < kCopyWait ? RenameWait::Long : RenameWait::Over;
    }

    std::optional<ChartFolderLock> lock_;
    bool abandoned_ = false;
    bool refused_ = false;
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

// The marker at path, the user's own. One that cannot be read, or is of
// neither format, stops recovery where it is: acting on a guess could put a
// chart in place beside the wrong signatures.
Result<CommitMarker> ReadMarker(const WorkFiles& folder, const std::string& path) {
    constexpr std::size_t kMarkerCap = 4096;  // six short names at most
    const auto bytes = folder.ReadOwnFile(path, kMarkerCap);
    if (!bytes || !*bytes) {
        return MakeFailure(Failure::Kind::MarkerDamaged, path, bytes ? ENOENT : bytes.Why().error);
    }
    auto marker = CommitMarker::Parse(**bytes);
    if (!marker) return MakeFailure(Failure::Kind::MarkerDamaged, path);
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
        if (file.signature && !S_ISREG(info.st_mode)) {
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
    // marker with nobody at work finishes what a killed run did not get to.
    MovedAside movedAside{};
    auto written = WriteMarker(folder, marker);
    std::optional<Failure> failure = written ? std::nullopt : std::optional<Failure>(written.Why());
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
    return std::nullopt;  // the marker's lock, then the folder's, go here
}

std::optional<Failure> FinishCutOffCommit(const WorkFiles& folder, chart::WaitPort* window) {
    // A few looks at most: each one after the marker went or changed under it.
    for (int look = 0; look < 3; ++look) {
        // Only the user's own markers count: anything else at those names is
        // left alone.
        const bool rollBack = folder.IsOwn(folder.RollbackMarker());
        const std::string& path = rollBack ? folder.RollbackMarker() : folder.CommitMarker();
        if (!rollBack && !folder.IsOwn(path)) return std::nullopt;
        // Whoever else is at it (its writer, or another copy finishing it)
        // holds the marker's lock; either is done within the copy wait.
        const MarkerLock held(path, kCopyWait, window);
        switch (held.Now()) {
        case MarkerLock::State::Abandoned:
            return MakeFailure(Failure::Kind::Cancelled);
        case MarkerLock::State::Busy:
            return MakeFailure(Failure::Kind::AnotherCopyUpdating);
        case MarkerLock::State::Gone:
            continue;  // finished meanwhile, or turned into the roll-back marker
        case MarkerLock::State::Held:
            break;
        }
        const RenameGuard guard(folder, window);
        if (auto failure = guard.Check()) return failure;
        if (!held.StillAt(path)) continue;  // finished, and another begun, meanwhile
        if (!rollBack) return RollForward(folder);
        const auto marker = ReadMarker(folder, path);
        if (!marker) return marker.Why();
        return RollBack(folder, *marker);
    }
    return MakeFailure(Failure::Kind::AnotherCopyUpdating);
}

std::optional<Failure> FinishInterruptedUpdate(const WorkFiles& folder, chart::WaitPort* window) {
    if (CommitPending(folder)) return FinishCutOffCommit(folder, window);
    // Without a marker, staging files and backups are only the remains of an
    // unfinished download.
    folder.RemoveStagingFiles();
    folder.RemoveBackups();
    return std::nullopt;
}

void DiscardStagingFiles(const WorkFiles& folder) {
    if (!CommitPending(folder)) folder.RemoveStagingFiles();
}

}  // namespace folder
