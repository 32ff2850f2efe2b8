#include "update/folder/output_file.h"

#include <cerrno>
#include <unistd.h>

namespace update {

OutputFile::OutputFile(std::string path, chart::UniqueFd fd) : path_(std::move(path)), fd_(fd.Release()) {}

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool OutputFile::Write(const char* bytes, std::size_t size) {
    if (fd_ < 0) return false;
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool OutputFile::Finish() {
    if (fd_ < 0) return false;
    bool ok = true;
    if (::fsync(fd_) != 0) {
        error_ = errno;
        ok = false;
    }
    if (::close(fd_) != 0 && ok) {
        error_ = errno;
        ok = false;
    }
    fd_ = -1;
    return ok;
}

}  // namespace update
