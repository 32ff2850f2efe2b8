#pragma once
// Opening a chart file for reading, and reading one whole. Never blocks on a
// FIFO or a device: anything that is not a regular file is refused, and so is
// a file larger than sizeCap bytes ("File too large"), also one that grows
// past it while it is read. Failures are raised as FileError.
#include <cstdint>
#include <string>

#include "chart/files/unique_fd.h"

namespace chart {

// The open file, positioned at its start.
UniqueFd OpenForReading(const std::string& path, std::uint64_t sizeCap);

// Every byte of the file, as it stands.
std::string ReadFileBytes(const std::string& path, std::uint64_t sizeCap);

}  // namespace chart
