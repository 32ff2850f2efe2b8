#pragma once
// The reload's history: what changed since the chart shown before, grouped as
// readers read it, when that chart was first shown, and when the chart now
// shown was released.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "chart/diff/chart_changes.h"

namespace chart {

class ReloadHistory {
public:
    // The history keeps no clock: the caller gives the time of each load.
    using Seconds = std::int64_t;  // since the epoch, as the caller's clock tells it

    // What the last reload leaves to tell.
    struct Told {
        // The changes of the last reload that changed anything; none before one has.
        std::shared_ptr<const ChartChanges> changes;
        Seconds since = 0;  // when the chart those changes are since was first shown
        // When the last reload changed nothing, its time (the changes, if any,
        // are an earlier reload's).
        std::optional<Seconds> unchangedAt;
        // The chart shown now, when its kept signature dates it.
        std::optional<std::uint64_t> released;
    };

    // The chart the window shows first, at `at`.
    void Start(const ShownChart& shown, Seconds at);
    // A reload showed `shown` at `at`; dataSignature: the bytes of the data
    // file's kept signature, empty when the chart is not signed. Before a
    // start, the reload is the start and tells nothing.
    void Reload(const ShownChart& shown, Seconds at, std::string_view dataSignature);

    // Whether a reload since the start has anything to tell.
    bool HasTold() const { return told_.has_value(); }
    const Told& Last() const { return *told_; }
    // What readers see now; null before the start.
    const std::shared_ptr<const SeenChart>& Now() const { return now_; }

private:
    std::shared_ptr<const SeenChart> now_;
    Seconds nowSince_ = 0;  // when the chart now shown was first shown
    std::optional<Told> told_;
};

}  // namespace chart
