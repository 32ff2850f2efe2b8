#pragma once
// The file a body is being written to (the worker's Stream): a staging file
// made fresh by WorkFiles, written in full, synced and closed by Finish.
#include <cstddef>
#include <string>

#include "chart/files/unique_fd.h"

namespace update {

class OutputFile {
public:
    // Takes over fd, the file at path open for writing.
    OutputFile(std::string path, chart::UniqueFd fd);
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
    int fd_ = -1;  // a plain descriptor: the HTTP module shares this layout
    int error_ = 0;
};

}  // namespace update
