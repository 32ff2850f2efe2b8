// The version file's reader: the newest version on offer and the lowest that reads the chart.
#include "chart/files/version_file.h"

#include "chart/files/chart_file_set.h"
#include "chart/files/line_reader.h"

namespace chart {

namespace {

// A line past the end reads as "".
void ReadVersions(LineReader& file, ChartTables& tables) {
    tables.LatestVersion = file.ReadLine();
    tables.RequiredVersion = file.ReadLine();
}

}  // namespace

void ReadVersionBytes(std::string_view bytes, ChartTables& tables) {
    LineReader file(ByteInput{bytes});
    ReadVersions(file, tables);
}

}  // namespace chart
