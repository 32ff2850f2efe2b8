#pragma once
// What happens to a file or a folder, as the kernel tells a watcher (inotify):
// a test waits for an event it is about (a file read, a folder opened) rather
// than for a time or a guess from outside.
#include <sys/inotify.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace support {

struct FileEvent {
    std::uint32_t mask = 0;  // IN_OPEN, IN_ACCESS, ... (IN_ISDIR for a folder)
    std::string name;        // the entry of a watched folder; empty for the watched path itself
};

class FileEvents {
public:
    // Watches path for the events in mask; throws when it cannot.
    FileEvents(const std::string& path, std::uint32_t mask);
    ~FileEvents();
    FileEvents(const FileEvents&) = delete;
    FileEvents& operator=(const FileEvents&) = delete;

    // The events since the last call, in the order they happened; waits up
    // to `wait` for the first (none: only what is there already).
    std::vector<FileEvent> Next(std::chrono::milliseconds wait = std::chrono::milliseconds(0));

private:
    int fd_ = -1;
};

}  // namespace support
