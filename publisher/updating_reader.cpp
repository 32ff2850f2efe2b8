// Where readers who update see other than readers who start afresh.
#include "publisher/updating_reader.h"

#include <algorithm>

namespace publisher {
namespace {

// Line `index` of a details text (lines end with CR LF), or "".
std::string DetailsLine(const std::string& details, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t end = details.find("\r\n", start);
        if (end == std::string::npos) return {};
        start = end + 2;
    }
    return details.substr(start, details.find("\r\n", start) - start);
}

// The first line where two details texts differ.
std::size_t FirstDifferentLine(const std::string& a, const std::string& b) {
    const std::size_t at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    return static_cast<std::size_t>(std::count(a.begin(), a.begin() + static_cast<long>(at), '\n'));
}

std::vector<std::string> Missing(const std::vector<std::string>& from, const std::vector<std::string>& in) {
    std::vector<std::string> missing;
    for (const std::string& message : from)
        if (std::find(in.begin(), in.end(), message) == in.end()) missing.push_back(message);
    return missing;
}

}  // namespace

ReaderDifferences DifferencesFromFresh(const chart::ShownChart& updating, const chart::ShownChart& fresh) {
    ReaderDifferences differences;
    static const std::string kNone;
    for (int row = 1; row <= updating.Programs(); ++row) {
        const auto& cells = updating.rows[static_cast<std::size_t>(row - 1)];
        const auto* freshCells = row <= fresh.Programs() ? &fresh.rows[static_cast<std::size_t>(row - 1)] : nullptr;
        for (std::size_t col = 0; col < cells.size(); ++col) {
            const std::string& seen = freshCells ? (*freshCells)[col] : kNone;
            if (cells[col] != seen) differences.cells.push_back({row, static_cast<int>(col), cells[col], seen});
        }
    }
    const int rows = std::min(updating.Programs(), fresh.Programs());
    for (int col = 1; col < chart::GridModel::kColCount - 1; ++col) {
        for (int row = 1; row <= rows; ++row) {
            const std::string a = updating.Details(row, col), b = fresh.Details(row, col);
            if (a == b) continue;
            const std::size_t line = FirstDifferentLine(a, b);
            // The details end with their empty line; an error's text is one line.
            differences.details.push_back({col, row, DetailsLine(a, line), DetailsLine(b, line),
                                           a.find("\r\n") == std::string::npos, b.find("\r\n") == std::string::npos});
            break;
        }
    }
    differences.onlyUpdating = Missing(updating.messages, fresh.messages);
    differences.onlyFresh = Missing(fresh.messages, updating.messages);
    differences.enabledDiffers = updating.enabled != fresh.enabled;
    return differences;
}

}  // namespace publisher
