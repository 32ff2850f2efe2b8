#include "publisher/loaded_chart.h"

#include "chart/details/details_text.h"

namespace publisher {

chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder) {
    auto files = folder.ReadAll();
    return chart::ChartSnapshot({std::move(files[0].bytes), std::move(files[1].bytes), std::move(files[2].bytes)});
}

LoadedChart::LoadedChart(const PublisherFolder& folder, const std::string& publisherHost) {
    chart::ChartForm form(tables_, grid_, chart::ChartPorts{ports_, ports_, ports_}, std::string(), publisherHost);
    form.FormCreate(SnapshotOf(folder));
    programs_ = form.Programs();
}

std::string LoadedChart::Details(int row, int col) const {
    try {
        return chart::DetailsText(tables_, row, col);
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace publisher
