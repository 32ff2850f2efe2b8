#pragma once
// A chart form wired to a recorder of its three ports, reading its files from
// a fresh temporary directory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart/chart_form.h"

namespace chart::testing {

// Records what the chart asked of the window, in order.
class Recorder : public MessagePort, public DocumentPort, public DetailsPanel {
public:
    void ShowMessage(const std::string& text) override { log.push_back("message: " + text); }
    void OpenDocument(const std::string& address) override { log.push_back("open: " + address); }
    void Clear() override { panel.clear(); }
    std::string Text() const override { return panel; }
    void SetText(const std::string& text) override { panel = text; }

    std::vector<std::string> log;
    std::string panel;
};

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-chart-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << bytes;
    }

private:
    std::string path_;
};

class ChartTest : public ::testing::Test {
protected:
    static constexpr const char* kHost = "www.vantrel.example";

    TempDir dir;
    Recorder rec;
    ChartTables tables;
    GridModel grid;
    ChartForm form{tables, grid, ChartPorts{rec, rec, rec}, dir.Path(), kHost};

    void WriteAll(const std::string& version, const std::string& data, const std::string& policy) {
        dir.Write("version", version);
        dir.Write("data", data);
        dir.Write("policy", policy);
    }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int col = 0; col < GridModel::kColCount; ++col) cells.push_back(grid.Cell(col, row));
        return cells;
    }
};

}  // namespace chart::testing
