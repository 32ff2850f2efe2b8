#pragma once
// The three files of a chart as one reload reads them: together, under the
// chart folder's shared lock, so that a reload sees one chart whole and never
// two mixed; and never waiting for that lock without a bound (FolderWaits).
#include <array>
#include <chrono>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "chart/files/chart_file_set.h"
#include "chart/files/commit_watch.h"
#include "chart/files/file_bytes.h"
#include "chart/window_ports.h"

namespace chart {

// How a reload waits for the chart folder.
struct FolderWaits {
    // Between polls on the user-interface thread; none: plain sleeps.
    WaitPort* window = nullptr;
    // What the lock's holder is doing; none: nobody to ask, so the chart is
    // read as it stands once lockWait has passed.
    CommitWatch* commits = nullptr;
    // Told once when the wait turns out to be for an update's commit.
    std::function<void()> onCommitWait;
    // How long the lock is tried before the holder is asked about.
    std::chrono::milliseconds lockWait{2000};
    // How long an update's commit is waited for.
    std::chrono::milliseconds commitWait{60000};
};

// The lock is held only while the bytes are read: parsing and any message come
// after. Whatever puts chart files in place holds it exclusively for its
// renames. After a short wait the reload asks what the holder is doing: it
// waits longer only for an update really putting its chart in place, finishes
// first a commit that was cut off, and otherwise reads the chart as it stands.
// What it read is taken only when no commit was going on and each name still
// leads to the file read.
class ChartSnapshot {
public:
    enum class Outcome {
        Read,               // the three files' bytes (or each one's failure) are in
        Abandoned,          // the program is ending: nothing was read
        CommitNotFinished,  // an update's commit went on past commitWait: nothing was read
        RecoveryFailed,     // a commit cut off could not be finished; Why() says why
    };

    explicit ChartSnapshot(const std::string& directory, const FolderWaits& waits = {});
    // A chart read elsewhere (the publisher's own files): each file's bytes in
    // the order of kChartFileTable, or nothing for one that could not be read.
    explicit ChartSnapshot(const std::array<std::optional<std::string>, 3>& files);

    Outcome State() const { return outcome_; }
    const std::string& Why() const { return why_; }
    // Whether name ("data", ...) is one of the files read.
    bool Holds(std::string_view name) const;
    // The file's bytes; raises the failure its read met (FileError), as the
    // reader reading the file itself would have.
    std::string_view Bytes(std::string_view name) const;

private:
    struct File {
        const char* name = nullptr;
        std::string bytes = {};
        std::exception_ptr failure = {};
        std::optional<FileIdentity> identity = {};  // none: nothing at the name
    };
    const File* Find(std::string_view name) const;
    void ReadFiles(const std::string& directory);
    // Whether the files read are one chart: no commit was going on, and no
    // name leads to another file now.
    enum class Check { OneChart, Committing, Moved };
    Check CheckRead(const std::string& directory, CommitWatch* commits) const;

    // In the order of kChartFileTable.
    std::array<File, 3> files_{File{kDataFileName}, File{kPolicyFileName}, File{kVersionFileName}};
    Outcome outcome_ = Outcome::Read;
    std::string why_;
};

}  // namespace chart
