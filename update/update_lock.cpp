#include "update_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "chart/files/local_path.h"

namespace update {

std::string UpdateLockPath(const std::string& chartDirectory) {
    return chart::LocalPath(chartDirectory, ".vantrel-update.lock");
}

UpdateLock::UpdateLock(const std::string& chartDirectory) : path_(UpdateLockPath(chartDirectory)) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    // Another user's lock file can still be locked through a read-only open.
    if (fd_ < 0 && (errno == EACCES || errno == EPERM)) {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    }
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        state_ = State::Held;
    } else {
        error_ = errno;
        state_ = errno == EWOULDBLOCK ? State::Busy : State::Failed;
        Close();
    }
}

UpdateLock::~UpdateLock() { Close(); }

void UpdateLock::Close() {
    if (fd_ >= 0) ::close(fd_);  // closing the only open of it lets go of the lock
    fd_ = -1;
}

}  // namespace update
