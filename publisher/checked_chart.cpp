#include "publisher/checked_chart.h"

#include "chart/details/details_text.h"
#include "chart/files/line_reader.h"

namespace publisher {

const std::vector<std::string>& CheckedChart::Lines(std::size_t file) {
    if (!lines_[file]) {
        // Only for the few findings that quote a line the tables do not keep.
        std::vector<std::string> all;
        if (bytes[file]) {
            chart::LineReader reader(chart::ByteInput{*bytes[file]});
            while (!reader.AtEnd()) all.push_back(reader.ReadLine());
        }
        lines_[file] = std::move(all);
    }
    return *lines_[file];
}

const std::string& CheckedChart::Line(std::size_t file, long long line) {
    static const std::string kNone;
    const auto& all = Lines(file);
    return line >= 1 && line <= static_cast<long long>(all.size()) ? all[static_cast<std::size_t>(line - 1)] : kNone;
}

long long CheckedChart::LineCount(std::size_t file) { return static_cast<long long>(Lines(file).size()); }

std::string_view FlagsWord(const chart::ChartTables& tables, int row, int col) {
    std::string_view word = chart::DetailsToken(tables.ProductDetail(row), col);
    if (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    return word;
}

}  // namespace publisher
