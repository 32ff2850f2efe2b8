// Opening and reading a chart file whole, never blocking on a FIFO or a device.
#include "chart/files/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "chart/files/file_error.h"

namespace chart {
namespace {

[[noreturn]] void ThrowOpenError(int code) {
    if (code == ENOENT) throw NotFound();
    if (code == ENOTDIR || code == ENAMETOOLONG) throw FileError("Invalid filename", code);
    throw IoError(code);
}

}  // namespace

UniqueFd OpenForReading(const std::string& path, std::uint64_t sizeCap) {
    // Opened without blocking: a FIFO with no writer would hold the open forever.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) ThrowOpenError(errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) throw IoError(errno);
    if (!S_ISREG(st.st_mode)) throw IoError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (static_cast<std::uint64_t>(st.st_size) > sizeCap) throw TooLarge();
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) < 0) throw IoError(errno);
    return fd;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino};
}

std::string ReadFileBytes(const std::string& path, std::uint64_t sizeCap, FileIdentity* identity) {
    const UniqueFd fd = OpenForReading(path, sizeCap);
    if (identity) {
        struct stat st {};
        if (::fstat(fd.Get(), &st) != 0) throw IoError(errno);
        *identity = {st.st_dev, st.st_ino};
    }
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0) return bytes;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError(errno);
        }
        // A file still being written to (say `yes >> data`) would otherwise
        // be read without end.
        if (bytes.size() + static_cast<std::uint64_t>(n) > sizeCap) throw TooLarge();
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace chart
