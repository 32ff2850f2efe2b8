#include "chart/files/version_file.h"

#include "chart/files/chart_file_set.h"
#include "chart/files/line_reader.h"

namespace chart {

namespace {

VersionFileSummary ReadVersions(LineReader& file, ChartTables& tables) {
    VersionFileSummary summary;
    // A line past the end reads as "" and is not counted.
    if (!file.AtEnd()) ++summary.lines;
    tables.LatestVersion = file.ReadLine();
    if (!file.AtEnd()) ++summary.lines;
    tables.RequiredVersion = file.ReadLine();
    return summary;
}

}  // namespace

VersionFileSummary ReadVersionBytes(std::string_view bytes, ChartTables& tables) {
    LineReader file(ByteInput{bytes});
    return ReadVersions(file, tables);
}

}  // namespace chart
