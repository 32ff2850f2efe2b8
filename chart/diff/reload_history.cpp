// The reload's history: what changed since the chart before, and when.
#include "chart/diff/reload_history.h"

#include "chart/verify/minisign.h"

namespace chart {

void ReloadHistory::Start(const ShownChart& shown, Seconds at) {
    now_ = std::make_shared<const SeenChart>(shown);
    nowSince_ = at;
    told_.reset();
}

void ReloadHistory::Reload(const ShownChart& shown, Seconds at, std::string_view dataSignature) {
    if (!now_) return Start(shown, at);
    auto after = std::make_shared<const SeenChart>(shown);
    auto changes = std::make_shared<const ChartChanges>(now_, after);
    Told told = told_.value_or(Told{});
    told.released = TrustedTimestamp(dataSignature);
    if (changes->Empty()) {
        if (!told.changes) told.since = nowSince_;
        told.unchangedAt = at;
    } else {
        told = Told{std::move(changes), nowSince_, std::nullopt, told.released};
        nowSince_ = at;
    }
    now_ = std::move(after);
    told_ = std::move(told);
}

}  // namespace chart
