// A chart as the window shows it after its loads, made without a window.
#include "chart/loading/shown_after_loading.h"

#include "chart/loading/chart_load.h"

namespace chart {

ShownChart ShownAfterLoading(const ChartSnapshot& start, const ChartSnapshot* reload,
                             const std::string& publisherHost) {
    ChartTables tables;
    GridModel grid;
    SetBuiltInVersions(tables);
    int programs = 0;
    ChartLoad load;
    for (const ChartSnapshot* files : {&start, reload}) {
        if (!files) continue;
        load = LoadChart(*files, tables, grid, LoadRules{publisherHost});
        programs = ProgramsAfter(load, programs);
    }
    return ShownChart::Of(tables, grid, programs, std::move(load.messages));
}

}  // namespace chart
