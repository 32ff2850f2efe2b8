#include "chart/details/details_text.h"

#include <algorithm>

#include "chart/details/integer_conversion.h"

namespace chart {
namespace {

const char* Answer(const std::string& token, long long m) {
    if (m > static_cast<long long>(token.size())) return "N/A";
    const char c = token[static_cast<size_t>(m - 1)];
    return c == '1' ? "YES" : c == '0' ? "NO" : "N/A";
}

}  // namespace

std::string DetailsToken(const std::string& d, int col) {
    std::string token;
    int w = 1;
    size_t i = 1;  // positions count from 1
    while (w <= col) {
        if (i > d.size()) return {};
        const char c = d[i - 1];
        token.push_back(c);
        if (c == ' ' || i == d.size()) {
            ++w;
            if (w <= col) token.clear();
        }
        ++i;
    }
    return token;
}

std::string DetailsText(const ChartTables& tables, int row, int col) {
    const std::string token = DetailsToken(tables.ProductDetail(row), col);
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
        text += Answer(token, m);
        text += "\r\n";
    }
    text += "\r\n";
    return text;
}

}  // namespace chart
