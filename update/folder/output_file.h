#pragma once
// The file a body is being written to (the worker's Stream): a staging file
// made fresh by WorkFiles, written in full, synced and closed by Finish.
#include <cstddef>
#include <optional>
#include <string>

#include "chart/files/unique_fd.h"
#include "update/failure.h"

namespace update {

class OutputFile {
public:
    // Takes over fd, the file at path open for writing; urlPath names the
    // download in failures.
    OutputFile(std::string path, std::string urlPath, chart::UniqueFd fd);

    // Writes all bytes; the failure when the file cannot take them.
    [[nodiscard]] std::optional<Failure> Write(const char* bytes, std::size_t size);
    // Flushes to disk and closes; the failure of either.
    [[nodiscard]] std::optional<Failure> Finish();

    const std::string& Path() const { return path_; }

private:
    Failure Failed(int error) const { return WriteFailure(urlPath_, path_, error); }

    std::string path_;
    std::string urlPath_;
    chart::UniqueFd fd_;  // a plain descriptor, so that the worker and the HTTP module both write through it
};

}  // namespace update
