#include "chart/files/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace chart {
namespace {

constexpr char kLf = '\n';
constexpr char kCr = '\r';
constexpr char kCtrlZ = '\x1A';

[[noreturn]] void ThrowIoError(int code) {
    throw FileError("I/O error " + std::to_string(code));
}

[[noreturn]] void ThrowOpenError(int code) {
    if (code == ENOENT) throw FileError("File not found");
    if (code == ENOTDIR || code == ENAMETOOLONG) throw FileError("Invalid filename");
    ThrowIoError(code);
}

// Appends [begin, end) to line without its CRs.
void AppendWithoutCr(std::string& line, const char* begin, const char* end) {
    while (begin < end) {
        const auto* cr = static_cast<const char*>(std::memchr(begin, kCr, end - begin));
        const char* stop = cr ? cr : end;
        line.append(begin, stop);
        begin = cr ? cr + 1 : end;
    }
}

}  // namespace

LineReader::LineReader(const std::string& path, std::uint64_t sizeCap) : sizeCap_(sizeCap) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) ThrowOpenError(errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int code = errno;
        Close();
        ThrowIoError(code);
    }
    if (!S_ISREG(st.st_mode)) {
        Close();
        ThrowIoError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }
    if (static_cast<std::uint64_t>(st.st_size) > sizeCap) {
        Close();
        throw FileError("File too large");
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int code = errno;
        Close();
        ThrowIoError(code);
    }
    buffer_.resize(kBufferSize);
}

LineReader::~LineReader() { Close(); }

void LineReader::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    stopped_ = true;
}

bool LineReader::Fill() {
    if (stopped_) return false;
    pos_ = len_ = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n > 0) {
            len_ = static_cast<size_t>(n);
            bytesRead_ += len_;
            // A file still being written to (say `yes >> data`) would
            // otherwise be read without end.
            if (bytesRead_ > sizeCap_) throw FileError("File too large");
            return true;
        }
        if (n == 0) {
            stopped_ = true;
            return false;
        }
        if (errno != EINTR) ThrowIoError(errno);
    }
}

bool LineReader::AtEnd() {
    if (stopped_) return true;
    if (pos_ == len_ && !Fill()) return true;
    if (buffer_[pos_] == kCtrlZ) {
        stopped_ = true;
        return true;
    }
    return false;
}

std::string LineReader::ReadLine() {
    std::string line;
    ReadLine(line);
    return line;
}

void LineReader::ReadLine(std::string& line) {
    line.clear();
    if (stopped_) return;
    for (;;) {
        if (pos_ == len_ && !Fill()) return;
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + len_;
        const auto* lf = static_cast<const char*>(std::memchr(begin, kLf, end - begin));
        const char* stop = lf ? lf : end;
        if (const auto* z = static_cast<const char*>(std::memchr(begin, kCtrlZ, stop - begin))) {
            AppendWithoutCr(line, begin, z);
            stopped_ = true;  // a Ctrl-Z ends the line and the file
            return;
        }
        AppendWithoutCr(line, begin, stop);
        if (lf) {
            pos_ = static_cast<size_t>(lf + 1 - buffer_.data());
            return;
        }
        pos_ = len_;
    }
}

}  // namespace chart
