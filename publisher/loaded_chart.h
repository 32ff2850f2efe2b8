#pragma once
// A publisher's chart loaded by the viewer's own loading sequence (the chart
// form, over the files' bytes as read from the publisher's folder), with what
// its message boxes would have said. No window: what `diff` compares.
#include <string>

#include "chart/diff/shown_chart.h"
#include "chart/files/chart_snapshot.h"
#include "publisher/publisher_folder.h"

namespace publisher {

// The chart in the folder as a chart snapshot: each file's bytes, or nothing
// for one that cannot be read.
chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder);

// The chart as the window would show it; publisherHost ends the version
// messages, as in the window.
chart::ShownChart LoadedChart(const PublisherFolder& folder, const std::string& publisherHost);

}  // namespace publisher
