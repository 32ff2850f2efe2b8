#pragma once
// The loading sequence over a chart's three files as read: the version gate,
// the data file, then the policy file. No I/O and no window: it fills the
// tables and rows it is given and returns what the load said.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "chart/files/chart_snapshot.h"
#include "chart/files/data_file.h"
#include "chart/files/data_rows.h"
#include "chart/files/policy_file.h"
#include "chart/tables/chart_tables.h"
#include "chart/tables/grid_model.h"

namespace chart {

// What one load yields besides the tables and rows it filled.
struct ChartLoad {
    // What the loading sequence tells the user, in its order.
    std::vector<std::string> messages;
    // The grid's enabled flag as the load leaves it.
    bool enabled = true;
    // The version gate stopped the load: data and policy were not read (a
    // check that reads past the gate reads them all the same).
    bool stoppedByTheGate = false;
    // Why each reader could not read its file (ChartFileIndex), or nothing.
    std::array<std::optional<std::string>, 3> failures;
    // What the data and policy readers read; nothing for one that did not
    // read its file to the end.
    std::optional<DataFileSummary> data;
    std::optional<PolicyFileSummary> policy;
};

// Who a check or a caller wants told of each record as it is read.
struct LoadSinks {
    DataRecordSink data;
    PolicyRecordSink policy;
};

struct LoadRules {
    // Ends the two version messages.
    std::string publisherHost;
    // Data and policy are read even where the version gate stops the load
    // (the publisher's check and the update's check look at every file).
    bool pastTheGate = false;
};

// The creation handler's part: both version strings set to the program's own
// before the first load.
void SetBuiltInVersions(ChartTables& tables);

// The steps, under their readers' names, each told of its failure in `load`
// (its message, the grid disabled) rather than raising it.
void ReadVersion(const ChartSnapshot& files, ChartTables& tables, ChartLoad& load);
void ReadInfo(const ChartSnapshot& files, ChartTables& tables, DataRows& rows, ChartLoad& load,
              const DataRecordSink& records = {});
void ReadPolicy(const ChartSnapshot& files, ChartTables& tables, ChartLoad& load,
                const PolicyRecordSink& records = {});

// The whole sequence. Nothing is cleared first: a reload overwrites what the
// new files name and leaves the rest, as the window's grid and tables do.
ChartLoad LoadChart(const ChartSnapshot& files, ChartTables& tables, DataRows& rows, const LoadRules& rules,
                    const LoadSinks& sinks = {});
// The same into the grid model, whose enabled flag it sets as the load ends.
ChartLoad LoadChart(const ChartSnapshot& files, ChartTables& tables, GridModel& grid, const LoadRules& rules);
// The programs shown after a load: the data file's complete records within
// the tables, or as many as before when the data file was not read.
int ProgramsAfter(const ChartLoad& load, int before);

}  // namespace chart
