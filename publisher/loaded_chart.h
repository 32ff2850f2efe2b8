#pragma once
// A publisher's chart loaded by the viewer's own loading sequence (the chart
// form, over the files' bytes as read from the publisher's folder), with what
// its message boxes would have said: as a reader who starts afresh sees it,
// and as one who updates to it from the chart before sees it (the same form
// loads the one chart, then reloads the other over it, as the window's
// reload does: nothing clears a cell or a table slot between loads). No
// window: what `check` and `diff` compare.
#include <string>

#include "chart/diff/shown_chart.h"
#include "chart/files/chart_snapshot.h"
#include "publisher/publisher_folder.h"

namespace publisher {

// The chart in the folder as a chart snapshot: each file's bytes, or nothing
// for one that cannot be read.
chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder);

// The chart as the window shows it, loaded at start from `start`, then, when
// given, reloaded from `reload` as an Update ends; publisherHost ends the
// version messages, as in the window.
chart::ShownChart LoadedChart(const chart::ChartSnapshot& start, const chart::ChartSnapshot* reload,
                              const std::string& publisherHost);

// The chart as a window started on it shows it.
chart::ShownChart LoadedChart(const PublisherFolder& folder, const std::string& publisherHost);

// The chart in folder as the window shows it after an Update from the chart
// in before: before loaded at start, then folder's reloaded over it.
chart::ShownChart UpdatedChart(const PublisherFolder& before, const PublisherFolder& folder,
                               const std::string& publisherHost);

}  // namespace publisher
