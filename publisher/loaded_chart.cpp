#include "publisher/loaded_chart.h"

#include <optional>

#include "chart/chart_form.h"
#include "chart/recording_ports.h"

namespace publisher {
chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder) {
    auto files = folder.ReadAll();
    return chart::ChartSnapshot({std::move(files[0].bytes), std::move(files[1].bytes), std::move(files[2].bytes)});
}

// The window's chart form without a window.
chart::ShownChart LoadedChart(const chart::ChartSnapshot& start, const chart::ChartSnapshot* reload,
                              const std::string& publisherHost) {
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::RecordingPorts ports;
    chart::ChartForm form(tables, grid, chart::ChartPorts{ports, ports, ports}, std::string(), publisherHost);
    form.FormCreate(start);
    if (reload) form.ReadAll(*reload);
    return form.Shown();
}

chart::ShownChart LoadedChart(const PublisherFolder& folder, const std::string& publisherHost) {
    return LoadedChart(SnapshotOf(folder), nullptr, publisherHost);
}

chart::ShownChart UpdatedChart(const PublisherFolder& before, const PublisherFolder& folder,
                               const std::string& publisherHost) {
    const chart::ChartSnapshot after = SnapshotOf(folder);
    return LoadedChart(SnapshotOf(before), &after, publisherHost);
}

}  // namespace publisher
