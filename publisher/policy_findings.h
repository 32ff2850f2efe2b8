#pragma once
// The policy file's findings, record by record as the reader hands them over,
// then test by test once it is read.
#include <optional>

#include "chart/files/policy_file.h"
#include "publisher/checked_chart.h"

namespace publisher {

// A test no record defines, a record without its empty line, an empty record
// that moves the tests after it, a count that cannot be read, tests out of the
// headings' order or renamed, sub-criteria past the 49 a test shows, text
// readers cannot see.
class PolicyFindings {
public:
    explicit PolicyFindings(CheckedChart& chart) : chart_(chart) {}
    // The reader's sink.
    void operator()(const chart::PolicyRecordLines& record);
    // Once the file is read and the counts are known.
    void Finish();

private:
    void CheckShownText(const chart::PolicyRecordLines& record, int test);

    CheckedChart& chart_;
    // The last record of each test the columns show.
    std::array<std::optional<chart::PolicyRecordLines>, chart::kTestCount + 1> records_;
};

}  // namespace publisher
