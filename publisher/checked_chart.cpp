// A chart as the check holds it, and the findings so far.
#include "publisher/checked_chart.h"

#include <algorithm>

#include "chart/details/details_text.h"
#include "publisher/shown_text.h"

namespace publisher {

std::string CheckedChart::TestName(int col) const {
    const auto count = counts[static_cast<std::size_t>(col)];
    const std::string& title =
        count && *count >= 0 ? tables.TestPolicy(col, static_cast<int>(*count + 1)) : std::string();
    return title.empty() ? chart::GridModel::kColumnHeadings[static_cast<std::size_t>(col)] : title;
}

bool CheckedChart::MayHoldUnseen(std::string_view text) {
    // Printable ASCII alone, as most of a chart is, holds none.
    return !std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

void CheckedChart::ReportUnseen(std::size_t file, long long line, const std::string& what, std::string_view text) {
    const auto unseen = UnseenCharacters(text);
    if (unseen.empty()) return;
    Add(file, line, Severity::Warning, "unseen", [&] {
        struct Group {
            Unseen kind;
            const char* one;
            const char* many;
            std::vector<std::string> names = {};
        };
        Group groups[] = {{Unseen::Control, "a control character", "control characters"},
                          {Unseen::Bidirectional, "a bidirectional control", "bidirectional controls"},
                          {Unseen::ZeroWidth, "a zero-width character", "zero-width characters"}};
        for (const char32_t c : unseen)
            for (Group& group : groups)
                if (group.kind == UnseenKind(c)) group.names.push_back(CodePointName(c));
        std::vector<std::string> parts;
        for (const Group& group : groups) {
            if (group.names.empty()) continue;
            std::string names;
            for (const std::string& name : group.names) names += (names.empty() ? "" : ", ") + name;
            parts.push_back(std::string(group.names.size() == 1 ? group.one : group.many) + " (" + names + ")");
        }
        return what + " " + Quoted(text) + " holds " + Joined(parts) +
               ": readers do not see them, so it looks otherwise to them than it is" +
               (groups[1].names.empty() ? "" : ", and what follows them may be reordered");
    });
}

std::string_view FlagsWord(const chart::ChartTables& tables, int row, int col) {
    std::string_view word = chart::DetailsToken(tables.ProductDetail(row), col);
    if (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    return word;
}

std::string Plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

}  // namespace publisher
