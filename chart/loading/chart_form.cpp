#include "chart/chart_form.h"

namespace chart {

ChartForm::ChartForm(ChartTables& tables, GridModel& grid, ChartPorts ports,
                     std::string chartDirectory, std::string publisherHost)
    : tables_(tables),
      grid_(grid),
      ports_(ports),
      chartDirectory_(std::move(chartDirectory)),
      publisherHost_(std::move(publisherHost)) {
    // The grid's cell-selection event runs this form's handler unless the
    // window installs its own (which then calls StringGrid1SelectCell).
    grid_.SetOnSelectCell([this](int col, int row, SelectionCause cause) {
        bool canSelect = true;
        StringGrid1SelectCell(col, row, canSelect, cause);
    });
}

void ChartForm::FormCreate() {
    tables_.LatestVersion = std::string(BuiltInVersion);
    tables_.RequiredVersion = std::string(BuiltInVersion);
    ReadAll();
}

}  // namespace chart
