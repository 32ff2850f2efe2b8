#pragma once
// What a reload asks when it cannot take the chart folder's lock: whether an
// update is putting its chart in place (the reload waits for it), left one
// half put in place (that is finished first), or nothing is being put in
// place (the lock's holder is none of ours: the chart is read as it stands).
// The update implements it; the chart core knows no update.
#include <optional>
#include <string>

#include "chart/window_ports.h"

namespace chart {

class CommitWatch {
public:
    enum class Activity { None, Committing, Interrupted };

    virtual ~CommitWatch() = default;
    virtual Activity Now() = 0;
    // Finishes an interrupted commit, the window answering meanwhile; nothing
    // when the chart may be read, otherwise what the user is told instead.
    virtual std::optional<std::string> FinishInterrupted(WaitPort& window) = 0;
};

}  // namespace chart
