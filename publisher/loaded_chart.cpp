#include "publisher/loaded_chart.h"

#include <algorithm>

#include "chart/details/details_text.h"
#include "publisher/viewer_folder.h"

namespace publisher {

LoadedChart::LoadedChart(const PublisherFolder& folder, const std::string& publisherHost) {
    const ViewerFolder copy(folder);
    chart::ChartForm form(tables_, grid_, chart::ChartPorts{ports_, ports_, panel_}, copy.Path(), publisherHost);
    form.FormCreate();
}

std::vector<std::string> LoadedChart::Messages() const {
    std::vector<std::string> messages;
    for (const auto& event : ports_.events) messages.push_back(event.text);
    return messages;
}

int LoadedChart::Programs() const {
    // The rows the window shows, within the tables' slots.
    return std::min(grid_.RowCount() - grid_.FixedRows(), chart::kMaxPrograms);
}

std::string LoadedChart::Details(int row, int col) const {
    try {
        return chart::DetailsText(tables_, row, col);
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace publisher
