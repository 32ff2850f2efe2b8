#pragma once
// The file a body is being written to (the worker's Stream): created or
// truncated on construction, written in full, synced and closed by Finish.
#include <cstddef>
#include <string>

namespace update {

class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Writes all bytes; false (and Error() set) when the file cannot take them.
    bool Write(const char* bytes, std::size_t size);
    // Flushes to disk and closes; false when either fails.
    bool Finish();

    const std::string& Path() const { return path_; }
    int Error() const { return error_; }  // errno of the first failure

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace update
