#include "publisher/policy_findings.h"

#include <optional>

#include "chart/details/conversion_error.h"
#include "chart/details/integer_conversion.h"

namespace publisher {
namespace {

// The error a selection in the test's column raises, if any.
std::optional<std::string> SelectionError(const chart::ChartTables& tables, int test) {
    try {
        chart::ToInteger(tables.TestPolicy(test, 0));
        return std::nullopt;
    } catch (const chart::ConversionError& error) {
        return error.what();
    }
}

std::string Column(int test) {
    return "column " + std::to_string(test) + " (" + chart::GridModel::kColumnHeadings[test] + ")";
}

}  // namespace

void FindPolicyFaults(CheckedChart& chart) {
    for (int test = 1; test <= chart::kTestCount; ++test) {
        const chart::PolicyRecordLines* record = nullptr;
        for (const auto& candidate : chart.policyRecords)
            if (candidate.test == test) record = &candidate;
        const auto error = SelectionError(chart.tables, test);
        const std::string raises =
            error ? ": selecting a result in " + Column(test) + " raises \"" + *error + "\"" : std::string();
        if (!record) {
            chart.Add(kPolicy, 0, Severity::Error, "no record defines the test of " + Column(test) + raises);
        } else if (!record->ended) {
            chart.Add(kPolicy, record->first, Severity::Error,
                      "the last test record, " + Quoted(chart.Line(kPolicy, record->first)) +
                          ", has no empty line after it: its title and count are never stored" + raises);
        } else if (record->count == 0) {
            chart.Add(kPolicy, record->first, Severity::Error,
                      "an empty line where a test record should begin is a record of its own, for " + Column(test) +
                          ": the tests after it move one column right" + raises);
        } else if (error) {
            chart.Add(kPolicy, record->first, Severity::Error, "the test's count is not a number" + raises);
        }
    }
    for (const auto& record : chart.policyRecords)
        if (record.test > chart::kTestCount && record.count > 0)
            chart.Add(kPolicy, record.first, Severity::Warning,
                      "test " + std::to_string(record.test) + ", " + Quoted(chart.Line(kPolicy, record.first)) +
                          ", is past the six columns: readers never see it");
}

}  // namespace publisher
