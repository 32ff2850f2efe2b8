#include <algorithm>

#include "chart/chart_form.h"
#include "chart/files/line_reader.h"
#include "chart/files/local_path.h"

namespace chart {

void ChartForm::ReadPolicy(const std::string& fileName) {
    try {
        LineReader file(LocalPath(chartDirectory_, fileName), kChartFileSizeCap);
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
                    tables_.SetTestPolicy(test, 0, std::to_string(count));
                    tables_.SetTestPolicy(test, titleSlot, title);
                }
                ++j;
                i = 0;
            } else {
                if (i == 0) {
                    title.swap(s);  // no copy: a title may be megabytes long
                } else if (j <= kTestCount && i <= kMaxSubCriteria) {
                    tables_.SetTestPolicy(static_cast<int>(j), static_cast<int>(i), s);
                }
                ++i;
            }
        }
    } catch (...) {
        ports_.messages.ShowMessage(kNoPolicyFileMessage);
        grid_.SetEnabled(false);
    }
}

}  // namespace chart
