#pragma once
// A chart directory holding a small good chart, in which a test replaces one
// of the three files by something hostile and then runs the loading sequence.
#include <string>
#include <vector>

#include "chart/chart_fixture.h"
#include "support/test_data.h"

namespace hardening {

using chart_test::Recorder;
using chart_test::TempDir;

inline constexpr const char* kHost = "www.vantrel.example";
// A small good chart with LF line ends, read when a test asks for it (a
// missing file fails that test).
inline std::string GoodChartFile(const std::string& name) { return support::TestData("charts/small-lf/" + name); }

inline const char* const kChartFileNames[] = {"version", "data", "policy"};

// The one message the loading sequence shows when `name` cannot be read.
inline std::string ReaderMessage(const std::string& name) {
    if (name == "version") return chart::kNoVersionFileMessage;
    if (name == "data") return chart::kNoDataFileMessage;
    return chart::kNoPolicyFileMessage;
}

inline void WriteGoodChart(const TempDir& dir) {
    for (const char* name : kChartFileNames) dir.Write(name, GoodChartFile(name));
}

// What one loading sequence left behind.
struct LoadResult {
    std::vector<std::string> log;
    bool gridEnabled = false;
    bool dataLoaded = false;    // the good data file's program is in row 1
    bool policyLoaded = false;  // the good policy file's test 1 is in the tables

    // Exactly the reader's own message for `name`, and the other two files loaded.
    bool OnlyFailed(const std::string& name) const {
        const std::vector<std::string> expected{"message: " + ReaderMessage(name)};
        return log == expected && dataLoaded == (name != "data") &&
               policyLoaded == (name != "policy") && gridEnabled == (name == "version");
    }
};

inline LoadResult LoadChart(const std::string& directory) {
    Recorder rec;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form(tables, grid, chart::ChartPorts{rec, rec, rec}, directory, kHost);
    form.FormCreate(support::FolderSnapshot(directory));
    LoadResult result;
    result.log = rec.Log();
    result.gridEnabled = grid.Enabled();
    result.dataLoaded = grid.Cell(0, 1) == "Prog" && tables.ProductUrl(1) == "http://prog.example";
    result.policyLoaded = tables.TestPolicy(1, 0) == "1" && tables.TestPolicy(1, 2) == "OS support";
    return result;
}

}  // namespace hardening
