#pragma once
// A chart of the publisher's tests' tables, kept as the files that differ from
// the base chart (tests/data/publisher/check/base), less those `absent` lists.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_data.h"

namespace publisher_test {

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The chart of tests/data/<relative> (served names), assembled into `into`;
// a folder that is not there is the base chart.
inline void AssembleChart(const std::string& relative, const support::TempDir& into) {
    namespace fs = std::filesystem;
    const fs::path dir = support::TestDataPath(relative);
    if (!fs::exists(dir)) return AssembleChart("publisher/check/base", into);
    const std::vector<std::string> absent =
        fs::exists(dir / "absent") ? Lines(support::TestData(relative + "/absent")) : std::vector<std::string>{};
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename();
        if (file != "expected" && file != "absent" && !entry.is_directory()) fs::copy_file(entry.path(), into.Dir() / file);
    }
    for (const std::string file : {"data", "policy", "version"}) {
        const std::string served = file + ".dat";
        if (fs::exists(dir / served) || fs::exists(dir / file) || std::count(absent.begin(), absent.end(), served)) continue;
        fs::copy_file(support::TestDataPath("publisher/check/base/" + served), into.Dir() / served);
    }
}

}  // namespace publisher_test
