#pragma once
// A reload's read of the chart folder: the three files' bytes as one chart,
// never two mixed, by the protocol's table of what a reader does.
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "chart/files/chart_snapshot.h"
#include "chart/window_ports.h"

namespace folder {

// Shown when a reload meets another copy of the program still putting its new
// chart in place; the chart is read once it is done.
inline constexpr const char* kWaitingForAnotherCopyMessage =
    "Another copy of Vantrel is putting a new chart in place. The chart is read as soon as it is done.";
// Shown instead of the chart when that copy did not finish within the wait.
inline constexpr const char* kCommitNotFinishedMessage =
    "Another copy of Vantrel has not finished putting a new chart in place, so the chart was not read. "
    "Start Vantrel again once that copy is done.";

struct ReaderWaits {
    // Answers between the polls on the user-interface thread, and ends the
    // wait once the program is ending; none: plain sleeps.
    chart::WaitPort* window = nullptr;
    // Told once, past lockWait, when the wait is for a copy putting its chart
    // in place; nothing is held while it runs (it may show a message box).
    std::function<void()> onCommitWait;
    // How long a holder of the folder's lock is waited for before the chart
    // is read as it stands, and before the user is told of a copy at work.
    std::chrono::milliseconds lockWait{2000};
    // How long a copy putting its chart in place is waited for.
    std::chrono::milliseconds commitWait{60000};
};

struct ChartRead {
    enum class Outcome {
        Read,               // snapshot: the three files' bytes, or each one's failure
        Abandoned,          // the program is ending: nothing was read
        CommitNotFinished,  // a copy went on past commitWait: nothing was read
        NotRead,            // a cut-off commit could not be finished: nothing was read
    };
    Outcome outcome = Outcome::Abandoned;
    std::optional<chart::ChartSnapshot> snapshot;
    // What the user is told instead of the chart (CommitNotFinished, NotRead).
    std::string message;
};

// The folder's shared lock is held only while the bytes are read, never while
// waiting, so that no wait of the reader's holds up a commit.
ChartRead ReadChartFolder(const std::string& directory, const ReaderWaits& waits = {});

}  // namespace folder
