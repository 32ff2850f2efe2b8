#include "update/folder/update_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>


namespace update {

UpdateLock::UpdateLock(const WorkFiles& folder) {
    const std::string path = folder.LockFile();
    constexpr int kNeverBlocks = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    fd_.Reset(::open(path.c_str(), O_RDWR | O_CREAT | kNeverBlocks, 0666));
    // Another user's lock file, or one on a read-only file system, can still
    // be locked through a read-only open.
    const int writeError = errno;
    if (!fd_ && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        fd_.Reset(::open(path.c_str(), O_RDONLY | kNeverBlocks));
    }
    if (!fd_) {
        const bool taken = errno == ELOOP || errno == EISDIR || errno == ENXIO;
        if (taken) {
            why_ = NameTakenFailure(path);
        } else if (errno == ENOENT && writeError != ENOENT) {
            // No lock file, and none can be made: the folder is read-only to this user.
            Failure failure = MakeFailure(FailureKind::FolderNotWritable);
            failure.detail = folder.Directory();
            failure.error = writeError;
            why_ = failure;
        } else {
            why_ = WriteFailure({}, path, errno);
        }
        return;
    }
    struct stat info;
    if (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        why_ = NameTakenFailure(path);
        fd_.Reset();
        return;
    }
    int result;
    do {
        result = ::flock(fd_.Get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        state_ = LockState::Held;
        return;
    }
    const bool busy = errno == EWOULDBLOCK;
    state_ = busy ? LockState::Busy : LockState::Failed;
    why_ = busy ? MakeFailure(FailureKind::AnotherCopyUpdating) : WriteFailure({}, path, errno);
    fd_.Reset();
}

}  // namespace update
