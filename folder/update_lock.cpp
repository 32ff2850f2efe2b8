// The update lock: one updater per chart folder.
#include "folder/update_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "folder/folder_protocol.h"
#include "folder/lock_holders.h"

namespace folder {
namespace {

constexpr int kNeverBlocks = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

// 0, or errno of an exclusive try without waiting.
int TryLock(int fd) {
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// Why a lock file could not be opened at path (errno as open left it).
Failure OpenFailure(const WorkFiles& folder, const std::string& path, int writeError) {
    if (errno == ELOOP || errno == EISDIR || errno == ENXIO) return NameTakenFailure(path);
    // No lock file, and none can be made: the folder is read-only to this user.
    if (errno == ENOENT && writeError != ENOENT) {
        return MakeFailure(Failure::Kind::FolderNotWritable, folder.Directory(), writeError);
    }
    return WriteFailure(path, errno);
}

}  // namespace

UpdateLock::UpdateLock(const WorkFiles& folder) {
    const uid_t user = ::geteuid();
    const std::string& path = folder.LockFile();
    shared_.Reset(::open(path.c_str(), O_RDWR | O_CREAT | kNeverBlocks, 0666));
    // Another user's lock file, or one on a read-only file system, can still
    // be locked through a read-only open.
    const int writeError = errno;
    if (!shared_ && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        shared_.Reset(::open(path.c_str(), O_RDONLY | kNeverBlocks));
    }
    if (!shared_) {
        why_ = OpenFailure(folder, path, writeError);
        return;
    }
    struct stat info;
    if (::fstat(shared_.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        why_ = NameTakenFailure(path);
        shared_.Reset();
        return;
    }

    // The user's own, made private: nobody else can open it, so nobody else
    // can hold it.
    const std::string ownPath = folder.OwnLockFile(user);
    own_.Reset(::open(ownPath.c_str(), O_RDWR | O_CREAT | kNeverBlocks, 0600));
    const int ownError = errno;
    // One made before on a file system read-only now is locked as it is.
    if (!own_ && ownError == EROFS) own_.Reset(::open(ownPath.c_str(), O_RDONLY | kNeverBlocks));
    if (!own_) {
        // Nothing there and none can be made: a folder read-only to this
        // user; anything there that cannot be opened is not the user's own.
        const int error = ownError;
        const bool there = ::lstat(ownPath.c_str(), &info) == 0;
        const bool readOnly = error == EACCES || error == EPERM || error == EROFS;
        why_ = there      ? NameTakenFailure(ownPath)
               : readOnly ? MakeFailure(Failure::Kind::FolderNotWritable, folder.Directory(), error)
                          : WriteFailure(ownPath, error);
        shared_.Reset();
        return;
    }
    if (::fstat(own_.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != user) {
        why_ = NameTakenFailure(ownPath);
        own_.Reset();
        shared_.Reset();
        return;
    }
    if ((info.st_mode & 077) != 0) static_cast<void>(::fchmod(own_.Get(), 0600));

    const int ownLockError = TryLock(own_.Get());
    const int sharedError = ownLockError == 0 ? TryLock(shared_.Get()) : 0;
    bool held = ownLockError == 0 && sharedError == 0;
    if (ownLockError == 0 && sharedError == EWOULDBLOCK) {
        // Kept by others alone, the shared lock is no copy of this user's.
        const Holders holders = ClassifyHolders(path, user, true);
        held = UpdateLockStepFor(holders.kind) == UpdateLockStep::GoOnWithTheOwnLock;
        shared_.Reset();
    }
    if (held) {
        state_ = LockState::Held;
        return;
    }
    const int error = ownLockError != 0 ? ownLockError : sharedError;
    const bool busy = error == EWOULDBLOCK;
    state_ = busy ? LockState::Busy : LockState::Failed;
    why_ = busy ? MakeFailure(Failure::Kind::AnotherCopyUpdating)
                : WriteFailure(ownLockError != 0 ? ownPath : path, error);
    own_.Reset();
    shared_.Reset();
}

}  // namespace folder
