#pragma once
// How reading a chart file fails: the message names the failure as the
// system's own file routines would ("File not found", "I/O error 5"), and
// Code() keeps the system's error number for those who say it in words.
#include <cerrno>
#include <stdexcept>
#include <string>

namespace chart {

class FileError : public std::runtime_error {
public:
    FileError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

inline FileError IoError(int code) { return FileError("I/O error " + std::to_string(code), code); }
inline FileError NotFound() { return FileError("File not found", ENOENT); }
inline FileError TooLarge() { return FileError("File too large", EFBIG); }

}  // namespace chart
