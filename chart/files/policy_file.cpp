// The policy file's reader: each record into the tables' test definitions.
#include "chart/files/policy_file.h"

#include <algorithm>

#include "chart/files/chart_file_set.h"
#include "chart/files/line_reader.h"

namespace chart {
namespace {

PolicyFileSummary ReadTests(LineReader& file, ChartTables& tables, const PolicyRecordSink& records) {
    PolicyFileSummary summary;
    long long lines = 0;
    long long i = 0;  // line in record
    long long j = 1;  // test
    // Deliberately kept across records: an empty record stores the
    // previous record's title.
    std::string title;

    PolicyRecordLines record;  // the one being read, for the sink
    std::string s;
    while (!file.AtEnd()) {
        file.ReadLine(s);
        ++lines;
        if (records) {
            if (i == 0) record = {.first = lines, .test = j, .title = {}};
            if (s.empty()) {
                record.ended = true;
                records(record);
            } else {
                if (i == 0) record.title = s;
                ++record.count;
            }
        }
        if (s.empty()) {
            if (j <= kTestCount) {
                const int test = static_cast<int>(j);
                // Beyond 49 sub-criteria the first 49 are kept and the
                // title takes the last slot.
                const long long count = std::min<long long>(i - 1, kMaxSubCriteria);
                const int titleSlot = static_cast<int>(std::min<long long>(i, kMaxSubCriteria + 1));
                tables.SetTestPolicy(test, 0, std::to_string(count));
                tables.SetTestPolicy(test, titleSlot, title);
                // An empty record (i = 0) is no test: it stores -1, then
                // the previous title over it.
                if (i > 0) ++summary.tests;
            }
            ++j;
            i = 0;
        } else {
            if (i == 0) {
                title.swap(s);  // no copy: a title may be megabytes long
            } else if (j <= kTestCount && i <= kMaxSubCriteria) {
                tables.SetTestPolicy(static_cast<int>(j), static_cast<int>(i), s);
            }
            ++i;
        }
    }
    if (records && i > 0) records(record);  // cut off by the file's end
    return summary;
}

}  // namespace

PolicyFileSummary ReadPolicyBytes(std::string_view bytes, ChartTables& tables,
                                  const PolicyRecordSink& records) {
    LineReader file(ByteInput{bytes});
    return ReadTests(file, tables, records);
}

}  // namespace chart
