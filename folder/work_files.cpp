// The chart folder's work files, named, made and removed without following links or waiting on FIFOs.
#include "folder/work_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "chart/files/local_path.h"

namespace folder {
namespace {

std::string WorkName(const ChartFile& file, const char* suffix) {
    return std::string(".vantrel-update-") + file.name + suffix;
}

Failure NameTaken(const std::string& path) { return NameTakenFailure(path); }

}  // namespace

std::string WorkFiles::Target(const ChartFile& file) const { return chart::LocalPath(directory_, file.name); }
std::string WorkFiles::Staging(const ChartFile& file) const {
    return chart::LocalPath(directory_, WorkName(file, ".tmp"));
}
std::string WorkFiles::Backup(const ChartFile& file) const {
    return chart::LocalPath(directory_, WorkName(file, ".old"));
}
WorkFiles::WorkFiles(std::string directory)
    : directory_(std::move(directory)),
      commitMarker_(chart::LocalPath(directory_, ".vantrel-update-commit")),
      commitMarkerBeingWritten_(chart::LocalPath(directory_, ".vantrel-update-commit.new")),
      rollbackMarker_(chart::LocalPath(directory_, ".vantrel-update-rollback")),
      lockFile_(chart::LocalPath(directory_, ".vantrel-update.lock")) {}

std::string WorkFiles::OwnLockFile(uid_t user) const {
    return chart::LocalPath(directory_, ".vantrel-update-" + std::to_string(user) + ".lock");
}

std::optional<Failure> WorkFiles::FreeName(const std::string& path) const {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? std::nullopt : std::optional<Failure>(WriteFailure(path, errno));
    }
    // unlink removes a link or a FIFO itself; a directory is never ours to clear.
    if (S_ISDIR(info.st_mode)) return NameTaken(path);
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
    // Someone else's in a folder that lets only owners remove (sticky); a
    // read-only folder or a failing disk is told as what it is.
    if (errno == EPERM || (errno == EACCES && info.st_uid != ::geteuid())) return NameTaken(path);
    return WriteFailure(path, errno);
}

Result<chart::UniqueFd> WorkFiles::CreateFresh(const std::string& path, mode_t mode) const {
    constexpr int kFresh = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    chart::UniqueFd fd(::open(path.c_str(), kFresh, mode));
    if (!fd && errno == EEXIST) {
        if (auto failure = FreeName(path)) return *failure;
        fd.Reset(::open(path.c_str(), kFresh, mode));
        // Someone put something there again in between: not a name to fight over.
        if (!fd && errno == EEXIST) return NameTaken(path);
    }
    if (!fd) return WriteFailure(path, errno);
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0) return WriteFailure(path, errno);
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) return NameTaken(path);
    return fd;
}

bool WorkFiles::IsOwn(const std::string& path, bool linkToo) const {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid == ::geteuid() &&
           (S_ISREG(info.st_mode) || (linkToo && S_ISLNK(info.st_mode)));
}

void WorkFiles::RemoveOwn(const std::string& path, bool linkToo) const {
    // Should the entry be swapped between the look and the unlink, unlink
    // still only removes a name in this folder, never what it leads to.
    if (IsOwn(path, linkToo)) ::unlink(path.c_str());
}

void WorkFiles::RemoveStagingFiles() const {
    for (const ChartFile& file : kStagedFiles) RemoveOwn(Staging(file));
    RemoveOwn(CommitMarkerBeingWritten());
}

void WorkFiles::RemoveBackups() const {
    for (const ChartFile& file : kStagedFiles) RemoveOwn(Backup(file), true);
}

bool WorkFiles::HasBackup(const ChartFile& file) const {
    struct stat info;
    return ::lstat(Backup(file).c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode));
}

void WorkFiles::RemoveCommitBackups(FileSet set) const {
    for (const ChartFile& file : set) {
        if (HasBackup(file)) ::unlink(Backup(file).c_str());
    }
}

Result<std::optional<std::string>> WorkFiles::ReadOwnFile(const std::string& path, std::size_t cap) const {
    const chart::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        if (errno == ENOENT) return std::optional<std::string>();
        if (errno == ELOOP || errno == ENXIO || errno == EACCES) return NameTaken(path);
        return ReadFailure(path, errno);
    }
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0) return ReadFailure(path, errno);
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) return NameTaken(path);
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0) return std::optional<std::string>(std::move(bytes));
        if (n < 0) {
            if (errno == EINTR) continue;
            return ReadFailure(path, errno);
        }
        if (bytes.size() + static_cast<std::size_t>(n) > cap) return ReadFailure(path, EFBIG);
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WorkFiles::RenameOver(const std::string& from, const std::string& to) const {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    if (errno != EEXIST) return false;
    // Never to's removal for a rename that cannot follow it. unlink removes a
    // link itself and refuses a directory.
    struct stat info;
    if (::lstat(from.c_str(), &info) != 0) return false;
    if (::unlink(to.c_str()) != 0 && errno != ENOENT) return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<Failure> WorkFiles::Flush() const {
    const chart::UniqueFd dir(::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir) return WriteFailure(directory_, errno);
    // EINVAL: a file system with nothing to sync for a folder.
    if (::fsync(dir.Get()) != 0 && errno != EINVAL) return WriteFailure(directory_, errno);
    return std::nullopt;
}

}  // namespace folder
