// The details text of one test for one program, from its detail flags.
#include "chart/details/details_text.h"

#include <algorithm>

#include "chart/details/integer_conversion.h"

namespace chart {

Answer AnswerOf(std::string_view token, long long m) {
    if (m < 1 || m > static_cast<long long>(token.size())) return Answer::NotApplicable;
    const char c = token[static_cast<size_t>(m - 1)];
    return c == '1' ? Answer::Yes : c == '0' ? Answer::No : Answer::NotApplicable;
}

const char* AnswerText(Answer answer) {
    return answer == Answer::Yes ? "YES" : answer == Answer::No ? "NO" : "N/A";
}

std::string_view DetailsToken(std::string_view d, int col) {
    if (col < 1) return {};
    // Word col starts after the (col - 1)-th space; a line that ends first
    // (or ends with that space) has no such word.
    size_t start = 0;
    for (int w = 1; w < col; ++w) {
        const size_t space = d.find(' ', start);
        if (space == std::string_view::npos) return {};
        start = space + 1;
    }
    if (start >= d.size()) return {};
    const size_t space = d.find(' ', start);
    return d.substr(start, space == std::string_view::npos ? std::string_view::npos : space + 1 - start);
}

std::string DetailsText(const ChartTables& tables, int row, int col) {
    const std::string_view token = DetailsToken(tables.ProductDetail(row), col);
    const long long n = ToInteger(tables.TestPolicy(col, 0));

    // The title slot n+1 may lie outside the table (it then reads empty); the
    // sub-criteria never run past the table's last slot.
    const long long titleSlot = n + 1;
    const bool titleInTable = titleSlot >= 0 && titleSlot < kPolicySlots;
    const long long last = std::min<long long>(n, kPolicySlots - 1);
    // Sized once: the title and names may be megabytes long.
    size_t size = 4;
    for (long long slot = 1; slot <= last + 1 && slot < kPolicySlots; ++slot)
        size += tables.TestPolicy(col, static_cast<int>(slot)).size() + sizeof ": N/A\r\n";
    std::string text;
    text.reserve(size);
    if (titleInTable) text += tables.TestPolicy(col, static_cast<int>(titleSlot));
    text += "\r\n";
    for (long long m = 1; m <= last; ++m) {
        text += tables.TestPolicy(col, static_cast<int>(m));
        text += ": ";
        text += AnswerText(AnswerOf(token, m));
        text += "\r\n";
    }
    text += "\r\n";
    return text;
}

}  // namespace chart
