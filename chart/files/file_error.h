#pragma once
// How reading a chart file fails: the message names the failure as the
// system's own file routines would ("File not found", "I/O error 5").
#include <stdexcept>
#include <string>

namespace chart {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline FileError IoError(int code) { return FileError("I/O error " + std::to_string(code)); }

}  // namespace chart
