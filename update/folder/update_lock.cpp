#include "update/folder/update_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include "chart/files/local_path.h"

namespace update {

std::string UpdateLockPath(const std::string& chartDirectory) {
    return chart::LocalPath(chartDirectory, ".vantrel-update.lock");
}

UpdateLock::UpdateLock(const std::string& chartDirectory) {
    const std::string path = UpdateLockPath(chartDirectory);
    constexpr int kNeverBlocks = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    fd_.Reset(::open(path.c_str(), O_RDWR | O_CREAT | kNeverBlocks, 0666));
    // Another user's lock file can still be locked through a read-only open.
    if (!fd_ && (errno == EACCES || errno == EPERM)) fd_.Reset(::open(path.c_str(), O_RDONLY | kNeverBlocks));
    if (!fd_) {
        const bool taken = errno == ELOOP || errno == EISDIR || errno == ENXIO;
        why_ = taken ? NameTakenFailure(path) : WriteFailure({}, path, errno);
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
        state_ = State::Held;
        return;
    }
    const bool busy = errno == EWOULDBLOCK;
    state_ = busy ? State::Busy : State::Failed;
    why_ = busy ? MakeFailure(FailureKind::AnotherCopyUpdating) : WriteFailure({}, path, errno);
    fd_.Reset();
}

}  // namespace update
