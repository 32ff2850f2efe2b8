// The loading sequence: the version gate, the data file, then the policy file, each failure told in the load.
#include "chart/loading/chart_load.h"

#include <algorithm>
#include <exception>

#include "chart/files/chart_file_set.h"
#include "chart/files/chart_texts.h"
#include "chart/files/grid_rows.h"
#include "chart/files/version_file.h"
#include "chart/loading/version_gate.h"

namespace chart {
namespace {

// Whatever stops a reader, the user is told its one message and the grid is
// disabled; what it stored before stays. The reason is kept for the checks.
template <class Read>
void AsReader(std::size_t file, ChartLoad& load, Read read) {
    try {
        read();
    } catch (const std::exception& failure) {
        load.failures[file] = failure.what();
        load.messages.emplace_back(kChartFileTable[file].missingMessage);
        load.enabled = false;
    }
}

}  // namespace

void SetBuiltInVersions(ChartTables& tables) {
    tables.LatestVersion = std::string(BuiltInVersion);
    tables.RequiredVersion = std::string(BuiltInVersion);
}

void ReadVersion(const ChartSnapshot& files, ChartTables& tables, ChartLoad& load) {
    AsReader(kVersion, load, [&] { ReadVersionBytes(files.Bytes(kVersionFileName), tables); });
}

void ReadInfo(const ChartSnapshot& files, ChartTables& tables, DataRows& rows, ChartLoad& load,
              const DataRecordSink& records) {
    AsReader(kData, load, [&] { load.data = ReadDataBytes(files.Bytes(kDataFileName), tables, rows, records); });
}

void ReadPolicy(const ChartSnapshot& files, ChartTables& tables, ChartLoad& load, const PolicyRecordSink& records) {
    AsReader(kPolicy, load, [&] { load.policy = ReadPolicyBytes(files.Bytes(kPolicyFileName), tables, records); });
}

ChartLoad LoadChart(const ChartSnapshot& files, ChartTables& tables, DataRows& rows, const LoadRules& rules,
                    const LoadSinks& sinks) {
    ChartLoad load;
    ReadVersion(files, tables, load);
    if (IsNewerVersion(tables.RequiredVersion, BuiltInVersion)) {
        load.messages.push_back(kNeedNewestVersionMessage + rules.publisherHost);
        load.enabled = false;
        load.stoppedByTheGate = true;
        if (!rules.pastTheGate) return load;
    } else {
        // A version file that could not be read stops nothing: the grid is
        // enabled again and the chart read.
        load.enabled = true;
        if (IsNewerVersion(tables.LatestVersion, BuiltInVersion))
            load.messages.push_back(kNewestAvailableMessage + rules.publisherHost);
    }
    ReadInfo(files, tables, rows, load, sinks.data);
    ReadPolicy(files, tables, load, sinks.policy);
    if (load.stoppedByTheGate) load.enabled = false;
    return load;
}

ChartLoad LoadChart(const ChartSnapshot& files, ChartTables& tables, GridModel& grid, const LoadRules& rules) {
    GridRows rows(grid);
    ChartLoad load = LoadChart(files, tables, rows, rules);
    grid.SetEnabled(load.enabled);
    return load;
}

int ProgramsAfter(const ChartLoad& load, int before) {
    return load.data ? std::min(load.data->programs, kMaxPrograms) : before;
}

}  // namespace chart
