// A chart at the size caps, made in memory.
#include "support/caps_chart.h"

#include "chart/files/chart_file_set.h"
#include "chart/tables/chart_tables.h"

namespace support {
namespace {

constexpr std::size_t kCap = chart::kChartFileSizeCap;

// `start`, then words to decode, up to `bytes`.
std::string LongText(const std::string& start, std::size_t bytes) {
    std::string text = start;
    text.reserve(bytes + 16);
    while (text.size() < bytes) text += " K\xC3\xBC" "rzel \xC3\x89t\xC3\xA9";
    return text;
}

}  // namespace

std::array<std::string, 3> ChartAtTheCaps(int edition) {
    const std::string named = " edition " + std::to_string(edition);
    // Each record's other lines take well under 4 KiB.
    const std::size_t nameBytes = kCap / chart::kMaxPrograms - 4096;
    std::string data;
    data.reserve(kCap);
    for (int r = 1; r <= chart::kMaxPrograms; ++r) {
        data += "http://www.program" + std::to_string(r) + ".example/\n";
        data += LongText("Program " + std::to_string(r) + named, nameBytes) + "\n";
        for (int t = 1; t <= chart::kTestCount; ++t) {
            for (int m = 1; m <= chart::kMaxSubCriteria; ++m) data += "01-"[(r * 7 + t * 3 + m + edition) % 3];
            data += t < chart::kTestCount ? ' ' : '\n';
        }
        for (int col = 1; col <= 7; ++col)
            data += std::to_string((r * 37 + col * 11 + edition) % 60) + (col < 7 ? " " : "\n\n");
    }
    const std::size_t subCriterionBytes = kCap / (chart::kTestCount * chart::kMaxSubCriteria) - 256;
    std::string policy;
    policy.reserve(kCap);
    for (int t = 1; t <= chart::kTestCount; ++t) {
        policy += "Test " + std::to_string(t) + "\n";
        for (int m = 1; m <= chart::kMaxSubCriteria; ++m)
            policy += LongText("Sub-criterion " + std::to_string(m), subCriterionBytes) + "\n";
        policy += "\n";
    }
    return {std::move(data), std::move(policy), "10\n10\n"};
}

}  // namespace support
