#pragma once
// Opening a chart file for reading, and reading one whole, without ever
// blocking on a FIFO or a device. Failures are raised as FileError.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "chart/files/unique_fd.h"

namespace chart {

// The open file, positioned at its start. Anything that is not a regular file
// is refused, and so is a file larger than sizeCap bytes ("File too large").
UniqueFd OpenForReading(const std::string& path, std::uint64_t sizeCap);

// Which file a name led to: another file put in its place since is another.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Every byte of the file, as it stands; with identity, which file was read.
// A file that grows past sizeCap while it is read is refused too.
std::string ReadFileBytes(const std::string& path, std::uint64_t sizeCap, FileIdentity* identity = nullptr);

// The file the name leads to now; nothing when none does.
std::optional<FileIdentity> IdentityOf(const std::string& path);

}  // namespace chart
