// Reads a chart file line by line, from the file or from its bytes.
#include "chart/files/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "chart/files/file_bytes.h"

namespace chart {
namespace {

constexpr char kLf = '\n';
constexpr char kCr = '\r';
constexpr char kCtrlZ = '\x1A';

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

LineReader::LineReader(const std::string& path, std::uint64_t sizeCap)
    : fd_(OpenForReading(path, sizeCap)), sizeCap_(sizeCap), buffer_(kBufferSize), data_(buffer_.data()) {}

LineReader::LineReader(ByteInput input) : data_(input.bytes.data()), len_(input.bytes.size()) {}

LineReader::~LineReader() { Close(); }

void LineReader::Close() {
    fd_.Reset();
    stopped_ = true;
}

bool LineReader::Fill() {
    if (stopped_ || !fd_) {
        stopped_ = true;  // bytes given are all there is
        return false;
    }
    pos_ = len_ = 0;
    for (;;) {
        const ssize_t n = ::read(fd_.Get(), buffer_.data(), buffer_.size());
        if (n > 0) {
            len_ = static_cast<size_t>(n);
            bytesRead_ += len_;
            // A file still being written to (say `yes >> data`) would
            // otherwise be read without end.
            if (bytesRead_ > sizeCap_) throw TooLarge();
            return true;
        }
        if (n == 0) {
            stopped_ = true;
            return false;
        }
        if (errno != EINTR) throw IoError(errno);
    }
}

bool LineReader::AtEnd() {
    if (stopped_) return true;
    if (pos_ == len_ && !Fill()) return true;
    if (data_[pos_] == kCtrlZ) {
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
        const char* begin = data_ + pos_;
        const char* end = data_ + len_;
        const auto* lf = static_cast<const char*>(std::memchr(begin, kLf, end - begin));
        const char* stop = lf ? lf : end;
        if (const auto* z = static_cast<const char*>(std::memchr(begin, kCtrlZ, stop - begin))) {
            AppendWithoutCr(line, begin, z);
            stopped_ = true;  // a Ctrl-Z ends the line and the file
            return;
        }
        AppendWithoutCr(line, begin, stop);
        if (lf) {
            pos_ = static_cast<size_t>(lf + 1 - data_);
            return;
        }
        pos_ = len_;
    }
}

}  // namespace chart
