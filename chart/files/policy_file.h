#pragma once
// The policy file: one record per test (its title, then the names of its
// sub-criteria), each record ended by an empty line. Its reader fills the
// tables' test definitions.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/tables/chart_tables.h"

namespace chart {

// What a read of the policy file found.
struct PolicyFileSummary {
    // Tests of the tables (1 to 6) whose record ended with its empty line after
    // a title: their count and title are stored.
    int tests = 0;

    bool operator==(const PolicyFileSummary&) const = default;
};

// Where one record of the policy file stood, for tools that point at its lines.
struct PolicyRecordLines {
    long long first = 0;  // its title's line (an empty record: its empty line), from 1
    long long count = 0;  // its lines: the title, then the sub-criteria
    bool ended = false;   // by its empty line, which stores its count and title
    long long test = 0;   // the test it defines, from 1 (tests past the sixth too)
    std::string title;    // its first line

    bool operator==(const PolicyRecordLines&) const = default;
};

// Told of each record once it has ended (by its empty line or the file's end).
using PolicyRecordSink = std::function<void(const PolicyRecordLines&)>;

// Reads the policy file from its bytes, read before: record j defines test j,
// its sub-criteria in slots 1 to n, its title in slot n + 1 and n in slot 0,
// the last two stored when the record's empty line is read. Reports what it
// read. With a sink, each record is handed to it as it ends.
PolicyFileSummary ReadPolicyBytes(std::string_view bytes, ChartTables& tables,
                                  const PolicyRecordSink& records = {});

}  // namespace chart
