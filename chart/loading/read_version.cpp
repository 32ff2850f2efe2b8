#include "chart/chart_form.h"
#include "chart/files/line_reader.h"
#include "chart/files/local_path.h"

namespace chart {

void ChartForm::ReadVersion() {
    try {
        LineReader file(LocalPath(chartDirectory_, "version"), kChartFileSizeCap);
        tables_.LatestVersion = file.ReadLine();
        tables_.RequiredVersion = file.ReadLine();
    } catch (...) {
        // Whatever went wrong, the user is told the same; the strings keep
        // what they had or were given before the failure.
        ports_.messages.ShowMessage(kNoVersionFileMessage);
        grid_.SetEnabled(false);
    }
}

}  // namespace chart
