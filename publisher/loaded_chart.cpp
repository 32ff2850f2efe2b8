// A publisher's chart loaded as a reader starting afresh, or updating, sees it.
#include "publisher/loaded_chart.h"

#include "chart/loading/shown_after_loading.h"

namespace publisher {

chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder) {
    auto files = folder.ReadAll();
    return chart::ChartSnapshot({std::move(files[0].bytes), std::move(files[1].bytes), std::move(files[2].bytes)});
}

chart::ShownChart LoadedChart(const PublisherFolder& folder, const std::string& publisherHost) {
    return chart::ShownAfterLoading(SnapshotOf(folder), nullptr, publisherHost);
}

chart::ShownChart UpdatedChart(const PublisherFolder& before, const PublisherFolder& folder,
                               const std::string& publisherHost) {
    const chart::ChartSnapshot after = SnapshotOf(folder);
    return chart::ShownAfterLoading(SnapshotOf(before), &after, publisherHost);
}

}  // namespace publisher
