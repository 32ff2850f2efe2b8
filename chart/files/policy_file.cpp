#include "chart/files/policy_file.h"

#include <algorithm>

#include "chart/files/chart_file_set.h"
#include "chart/files/line_reader.h"

namespace chart {
namespace {

void ReadTests(LineReader& file, ChartTables& tables) {
    long long i = 0;  // line in record
    long long j = 1;  // test
    // Deliberately kept across records: an empty record stores the
    // previous record's title.
    std::string title;

    std::string s;
    while (!file.AtEnd()) {
        file.ReadLine(s);
        if (s.empty()) {
            if (j <= kTestCount) {
                const int test = static_cast<int>(j);
                // Beyond 49 sub-criteria the first 49 are kept and the
                // title takes the last slot.
                const long long count = std::min<long long>(i - 1, kMaxSubCriteria);
                const int titleSlot = static_cast<int>(std::min<long long>(i, kMaxSubCriteria + 1));
                tables.SetTestPolicy(test, 0, std::to_string(count));
                tables.SetTestPolicy(test, titleSlot, title);
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
}

}  // namespace

void ReadPolicyFile(const std::string& path, ChartTables& tables) {
    LineReader file(path, kChartFileSizeCap);
    ReadTests(file, tables);
}

void ReadPolicyBytes(std::string_view bytes, ChartTables& tables) {
    LineReader file(ByteInput{bytes});
    ReadTests(file, tables);
}

}  // namespace chart
