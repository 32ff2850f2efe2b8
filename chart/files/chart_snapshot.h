#pragma once
// The three files of a chart as one reload reads them: "version", "data" and
// "policy" are read together under the chart folder's shared lock, which
// whatever puts chart files in place holds exclusively for its renames, so a
// reload sees one chart whole and never two mixed. The lock is let go as soon
// as the bytes are in; parsing and any message come after.
#include <array>
#include <chrono>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace chart {

class ChartSnapshot {
public:
    // How long a reload waits for a commit to finish its renames before it
    // tells the user why it waits (a slow stick, a busy disk).
    static constexpr std::chrono::milliseconds kLockWait{2000};

    // Waits for a commit's renames to end, however long they take: after
    // lockWait, onLongWait is called once (the window says why) and the wait
    // goes on. A folder without locks is read as it is.
    explicit ChartSnapshot(const std::string& directory, std::chrono::milliseconds lockWait = kLockWait,
                           const std::function<void()>& onLongWait = {});

    // Whether name ("data", ...) is one of the files read.
    bool Holds(std::string_view name) const;
    // The file's bytes; raises the failure its read met (FileError), as the
    // reader reading the file itself would have.
    std::string_view Bytes(std::string_view name) const;

private:
    struct File {
        const char* name;
        std::string bytes;
        std::exception_ptr failure;
    };
    const File* Find(std::string_view name) const;

    std::array<File, 3> files_;
};

}  // namespace chart
