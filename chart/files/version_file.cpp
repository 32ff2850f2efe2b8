#include "chart/files/version_file.h"

#include "chart/files/chart_file_set.h"
#include "chart/files/line_reader.h"

namespace chart {

void ReadVersionFile(const std::string& path, ChartTables& tables) {
    LineReader file(path, kChartFileSizeCap);
    tables.LatestVersion = file.ReadLine();
    tables.RequiredVersion = file.ReadLine();
}

}  // namespace chart
