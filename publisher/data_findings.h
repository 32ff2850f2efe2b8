#pragma once
// The data file's findings, record by record as the reader hands them over:
// programs that make no row or are lost, page addresses the viewer refuses or
// rewrites, flags that answer nothing, results that are shifted, cut, empty
// or do not add up.
#include <string>
#include <unordered_map>

#include "chart/files/data_file.h"
#include "publisher/checked_chart.h"

namespace publisher {

class DataFindings {
public:
    // The policy file has been read: the tests' counts and titles are known.
    explicit DataFindings(CheckedChart& chart) : chart_(chart) {}
    // The reader's sink.
    void operator()(const chart::DataRecordLines& record);

private:
    void CheckIgnoredLines(const chart::DataRecordLines& record);
    void CheckProgram(const chart::DataRecordLines& record);
    void CheckFlags(long long line, int row);
    void CheckResults(const chart::DataRecordLines& record);

    CheckedChart& chart_;
    std::unordered_map<std::string, long long> nameLines_;  // the first line of each name
};

}  // namespace publisher
