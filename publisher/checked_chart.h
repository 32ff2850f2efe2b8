#pragma once
// A chart as the check holds it: each file's bytes, what the chart core's
// readers made of them (tables, grid, where each record stood), and the
// findings so far. The checks of each file add to it.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/files/data_file.h"
#include "chart/files/policy_file.h"
#include "chart/tables/chart_tables.h"
#include "chart/tables/grid_model.h"
#include "publisher/finding.h"
#include "publisher/publisher_folder.h"

namespace publisher {

enum ChartFileIndex : std::size_t { kData = 0, kPolicy = 1, kVersion = 2 };

struct CheckedChart {
    std::array<std::string, PublisherFolder::kFiles> names;
    std::array<std::optional<std::string>, PublisherFolder::kFiles> bytes;  // none: unreadable
    chart::ChartTables tables;
    chart::GridModel grid;
    std::vector<chart::DataRecordLines> dataRecords;
    std::vector<chart::PolicyRecordLines> policyRecords;
    std::function<bool(std::string_view)> cellIsCut;
    std::vector<Finding> findings;

    void Add(std::size_t file, long long line, Severity severity, std::string message) {
        findings.push_back({names[file], line, severity, std::move(message)});
    }
    // Line `line` (from 1) of a file as the line reader reads it; "" past the end.
    const std::string& Line(std::size_t file, long long line);
    long long LineCount(std::size_t file);

private:
    const std::vector<std::string>& Lines(std::size_t file);

    std::array<std::optional<std::vector<std::string>>, PublisherFolder::kFiles> lines_;  // read on first use
};

// The details word of test col for the program in grid row `row`, without the
// space that ends it.
std::string_view FlagsWord(const chart::ChartTables& tables, int row, int col);

}  // namespace publisher
