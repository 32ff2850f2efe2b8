#include "publisher/loaded_chart.h"

#include "chart/chart_form.h"
#include "chart/recording_ports.h"

namespace publisher {

chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder) {
    auto files = folder.ReadAll();
    return chart::ChartSnapshot({std::move(files[0].bytes), std::move(files[1].bytes), std::move(files[2].bytes)});
}

chart::ShownChart LoadedChart(const PublisherFolder& folder, const std::string& publisherHost) {
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::RecordingPorts ports;
    chart::ChartForm form(tables, grid, chart::ChartPorts{ports, ports, ports}, std::string(), publisherHost);
    form.FormCreate(SnapshotOf(folder));
    return form.Shown();
}

}  // namespace publisher
