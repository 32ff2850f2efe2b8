#include "publisher/checked_chart.h"

#include "chart/details/details_text.h"

namespace publisher {

std::string CheckedChart::TestName(int col) const {
    const auto count = counts[static_cast<std::size_t>(col)];
    const std::string& title =
        count && *count >= 0 ? tables.TestPolicy(col, static_cast<int>(*count + 1)) : std::string();
    return title.empty() ? chart::GridModel::kColumnHeadings[static_cast<std::size_t>(col)] : title;
}

std::string_view FlagsWord(const chart::ChartTables& tables, int row, int col) {
    std::string_view word = chart::DetailsToken(tables.ProductDetail(row), col);
    if (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    return word;
}

std::string Plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace publisher
