#pragma once
// A chart under tests/data loaded as the window shows it: each of the three
// files from its folder, or, where the folder has none, from `defaults` (so
// that cases differing in one file hold that file alone); or from its bytes.
#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "chart/loading/shown_after_loading.h"
#include "support/test_data.h"

namespace chart_test {

inline chart::ShownChart LoadShownChart(std::array<std::optional<std::string>, 3> files) {
    return chart::ShownAfterLoading(chart::ChartSnapshot(std::move(files)), nullptr, "www.vantrel.example");
}

inline chart::ShownChart LoadShownChart(const std::string& folder, const std::string& defaults = {}) {
    std::array<std::optional<std::string>, 3> files;
    for (std::size_t file = 0; file < files.size(); ++file) {
        const std::string name = chart::kChartFileTable[file].name;
        const bool own = defaults.empty() || std::filesystem::exists(support::TestDataPath(folder + "/" + name));
        files[file] = support::TestData((own ? folder : defaults) + "/" + name);
    }
    return LoadShownChart(std::move(files));
}

}  // namespace chart_test
