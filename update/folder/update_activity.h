#pragma once
// What the chart folder's updates are doing, as a reload that cannot take the
// folder's lock asks it: an update holding the update lock beside a commit
// marker (anyone's) is putting its chart in place; a marker of the user's own
// with nobody holding the lock is a commit that was cut off, which start-up's
// recovery finishes.
#include <optional>
#include <string>

#include "chart/files/commit_watch.h"
#include "update/folder/work_files.h"

namespace update {

class UpdateActivity : public chart::CommitWatch {
public:
    explicit UpdateActivity(std::string chartDirectory) : folder_(std::move(chartDirectory)) {}

    Activity Now() override;
    std::optional<std::string> FinishInterrupted(chart::WaitPort& window) override;

private:
    const WorkFiles folder_;
};

}  // namespace update
