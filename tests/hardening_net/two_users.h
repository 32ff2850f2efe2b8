#pragma once
// Two real users of one chart folder, as a team share is set up (the tests
// run as root, which gives files away and starts processes as either): the
// user ids, giving a path to a user, and a process of a user holding a lock.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace update_test {

constexpr uid_t kOwner = 60001;   // owns the chart
constexpr uid_t kMember = 60002;  // the second member of the group, who owns nothing of it
constexpr gid_t kTeam = 60000;

inline void Give(const std::filesystem::path& path, uid_t uid, gid_t gid, mode_t mode) {
    ASSERT_EQ(::lchown(path.c_str(), uid, gid), 0) << path;
    if (!std::filesystem::is_symlink(path)) {
        ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
    }
}

// A process of uid holding a lock (flock's LOCK_SH or LOCK_EX) on path (a
// file opened read-only, or a folder) until the object goes.
class LockHeldAs {
public:
    LockHeldAs(uid_t uid, const std::filesystem::path& path, int operation) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const gid_t gid = kTeam;
            if (::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(3);
            const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
            if (fd < 0 || ::flock(fd, operation) != 0) ::_exit(4);
            if (::write(ready[1], "h", 1) != 1) ::_exit(5);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        pollfd said{ready[0], POLLIN, 0};
        char c = 0;
        held_ = pid_ > 0 && ::poll(&said, 1, 20000) == 1 && ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHeldAs() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    LockHeldAs(const LockHeldAs&) = delete;
    LockHeldAs& operator=(const LockHeldAs&) = delete;

    bool Held() const { return held_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

}  // namespace update_test
