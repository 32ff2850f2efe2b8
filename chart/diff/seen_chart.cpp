// What readers saw of a chart, cut as the window shows it, kept to compare the next one with.
#include "chart/diff/seen_chart.h"

#include "chart/text/shown_text.h"

namespace chart {

SeenChart::SeenChart(const ShownChart& shown) : chart(shown), enabled(shown.enabled) {
    for (const std::string& message : shown.messages) messages.push_back(ShownCell(message));
    addresses.reserve(static_cast<std::size_t>(shown.Programs()));
    for (int row = 1; row <= shown.Programs(); ++row) addresses.push_back(ShownCell(shown.tables.ProductUrl(row)));
}

}  // namespace chart
