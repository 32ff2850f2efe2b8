#pragma once
// A chart form wired to a recorder of its three ports, over files written to
// a fresh temporary directory and read as a reload reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/chart_form.h"
#include "chart/files/grid_rows.h"
#include "chart/loading/chart_load.h"
#include "chart/recording_ports.h"
#include "support/folder_snapshot.h"
#include "support/temp_dir.h"

namespace chart_test {

using Recorder = chart::RecordingPorts;
using TempDir = support::TempDir;

class ChartTest : public ::testing::Test {
protected:
    static constexpr const char* kHost = "www.vantrel.example";

    TempDir dir{"vantrel-chart"};
    Recorder rec;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form{tables, grid, chart::ChartPorts{rec, rec, rec}, dir.Path(), kHost};

    // The files in dir as a reload reads them.
    chart::ChartSnapshot Files() const { return support::FolderSnapshot(dir.Path()); }
    // One step of the loading sequence over them, into this grid (whose
    // selection handler is the form's): what it said.
    chart::ChartLoad ReadInfo() {
        chart::ChartLoad load;
        chart::GridRows rows(grid);
        chart::ReadInfo(Files(), tables, rows, load);
        return load;
    }
    chart::ChartLoad ReadPolicy() {
        chart::ChartLoad load;
        chart::ReadPolicy(Files(), tables, load);
        return load;
    }

    void WriteAll(const std::string& version, const std::string& data, const std::string& policy) {
        dir.Write("version", version);
        dir.Write("data", data);
        dir.Write("policy", policy);
    }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int col = 0; col < chart::GridModel::kColCount; ++col) cells.push_back(grid.Cell(col, row));
        return cells;
    }
};

}  // namespace chart_test
