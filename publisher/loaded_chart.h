#pragma once
// A publisher's chart as readers see it, by the viewer's own loading sequence:
// started afresh on it, or updated to it from the chart before.
#include <string>

#include "chart/loading/shown_chart.h"
#include "chart/files/chart_snapshot.h"
#include "publisher/publisher_folder.h"

namespace publisher {

// The chart in the folder as a chart snapshot: each file's bytes, or nothing
// for one that cannot be read.
chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder);

// The chart as a window started on it shows it.
chart::ShownChart LoadedChart(const PublisherFolder& folder, const std::string& publisherHost);

// The chart in folder as the window shows it after an Update from the chart
// in before: before loaded at start, then folder's reloaded over it.
chart::ShownChart UpdatedChart(const PublisherFolder& before, const PublisherFolder& folder,
                               const std::string& publisherHost);

}  // namespace publisher
