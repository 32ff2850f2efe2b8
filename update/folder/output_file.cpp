// The staging file a body is written to, synced and closed by Finish.
#include "update/folder/output_file.h"

#include <cerrno>
#include <unistd.h>

namespace update {

OutputFile::OutputFile(std::string path, std::string urlPath, chart::UniqueFd fd)
    : path_(std::move(path)), urlPath_(std::move(urlPath)), fd_(std::move(fd)) {}

std::optional<Failure> OutputFile::Write(const char* bytes, std::size_t size) {
    if (!fd_) return Failed(EBADF);
    while (size > 0) {
        const ssize_t n = ::write(fd_.Get(), bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Failed(errno);
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

std::optional<Failure> OutputFile::Finish() {
    if (!fd_) return Failed(EBADF);
    if (::fsync(fd_.Get()) != 0) {
        const int error = errno;
        fd_.Reset();
        return Failed(error);
    }
    // close may report a write the disk could not take after all.
    if (fd_.Close() != 0) return Failed(errno);
    return std::nullopt;
}

}  // namespace update
