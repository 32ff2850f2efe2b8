#include "chart/chart_form.h"
#include "chart/loading/version_gate.h"

namespace chart {

void ChartForm::ReadAll() {
    // The window presents the grid once, as the whole load left it.
    const GridModel::Batch presentOnce(grid_);
    ReadVersion();
    if (IsNewerVersion(tables_.RequiredVersion, BuiltInVersion)) {
        ports_.messages.ShowMessage(kNeedNewestVersionMessage + publisherHost_);
        grid_.SetEnabled(false);
        return;
    }
    grid_.SetEnabled(true);
    if (IsNewerVersion(tables_.LatestVersion, BuiltInVersion))
        ports_.messages.ShowMessage(kNewestAvailableMessage + publisherHost_);
    ReadInfo("data", grid_);
    ReadPolicy("policy");
}

}  // namespace chart
