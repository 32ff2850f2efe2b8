#include "failing_folder_flush.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>

namespace update_test {
namespace {
std::atomic<int> failuresLeft{0};
}  // namespace

void FailNextFolderFlushes(int count) { failuresLeft.store(count); }

}  // namespace update_test

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && update_test::failuresLeft.load() > 0) {
        update_test::failuresLeft.fetch_sub(1);
        errno = EIO;
        return -1;
    }
    return real(fd);
}
