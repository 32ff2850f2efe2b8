// Whether three files' bytes are a chart, by the core's readers in a dry run on scratch tables.
#include "chart/verify/chart_bytes_check.h"


#include "chart/files/chart_file_set.h"
#include "chart/files/chart_snapshot.h"
#include "chart/loading/chart_load.h"
#include "chart/text/ascii.h"

namespace chart {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view SkipBlanksAndMarks(std::string_view text) {
    for (;;) {
        if (!text.empty() && ascii::IsSpace(text.front())) {
            text.remove_prefix(1);
        } else if (text.starts_with(kByteOrderMark)) {
            text.remove_prefix(kByteOrderMark.size());
        } else {
            return text;
        }
    }
}

constexpr const char* kMarkupRule = "it begins as markup or JSON (a web page, an error document), not as a chart file";

bool StartsAsMarkupOrJson(std::string_view start) {
    start = SkipBlanksAndMarks(start);
    return !start.empty() && (start.front() == '<' || start.front() == '{');
}

// The data file's rows, read and let go: the check needs only the count of
// complete programs the reader reports.
class DroppedRows : public DataRows {
public:
    void Begin() override {}
    int RowOf(int program) const override { return program + 1; }
    void SetCell(int, int, std::string) override {}
    void AddRow() override {}
    void End() override {}
};

}  // namespace

std::optional<NotAChart> WhyBytesAreNotAChart(const ChartSnapshot& files) {
    // The loading sequence over scratch tables and rows nobody keeps, past
    // the version gate: what a version file asks for is the reload's to judge.
    ChartTables tables;
    DroppedRows rows;
    LoadRules rules;
    rules.pastTheGate = true;
    const ChartLoad load = LoadChart(files, tables, rows, rules);
    // A file the readers would refuse with their message.
    for (std::size_t file : {kVersion, kData, kPolicy})
        if (load.failures[file]) return NotAChart{file, "it cannot be read: " + *load.failures[file]};
    return WhyReadBytesAreNotAChart({files.Bytes(kDataFileName), files.Bytes(kPolicyFileName), files.Bytes(kVersionFileName)},
                                    *load.data, *load.policy, tables.LatestVersion);
}

std::optional<NotAChart> WhyReadBytesAreNotAChart(const std::array<std::string_view, 3>& bytes,
                                                  const DataFileSummary& data, const PolicyFileSummary& policy,
                                                  std::string_view latestVersion) {
    for (std::size_t file = 0; file < bytes.size(); ++file) {
        if (StartsAsMarkupOrJson(bytes[file])) return NotAChart{file, kMarkupRule};
    }
    if (data.programs == 0) return NotAChart{kData, "it holds no complete program record"};
    if (policy.tests == 0) return NotAChart{kPolicy, "it holds no complete test"};
    // The newest version on offer, as the version gate will read it.
    if (!ascii::IsDigits(latestVersion)) return NotAChart{kVersion, "its first line is not a version number"};
    return std::nullopt;
}

}  // namespace chart
