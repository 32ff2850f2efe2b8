#pragma once
// The data file's findings, record by record as the reader hands them over:
// programs that make no row or are lost, page addresses the viewer refuses or
// rewrites, flags that answer nothing, results that are shifted, cut or empty.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "chart/files/data_file.h"
#include "publisher/checked_chart.h"

namespace publisher {

class DataFindings {
public:
    explicit DataFindings(CheckedChart& chart) : chart_(chart) {}
    // The reader's sink.
    void operator()(const chart::DataRecordLines& record);
    // Once the policy file has been read (the loading sequence reads it
    // after the data): each program's flags against the tests' counts.
    void Finish();

private:
    void CheckIgnoredLines(const chart::DataRecordLines& record);
    void CheckProgram(const chart::DataRecordLines& record);
    void CheckFlags(long long line, int row);
    void CheckResults(const chart::DataRecordLines& record);  // and whether they add up to the Total

    CheckedChart& chart_;
    std::unordered_map<std::string, long long> nameLines_;  // the first line of each name
    std::vector<std::pair<long long, int>> flagsLines_;     // each program's flags line and row
};

}  // namespace publisher
