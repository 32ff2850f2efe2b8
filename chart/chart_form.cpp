// The chart form: the loading sequence applied to the grid and the ports, and the cell-selection handler.
#include "chart/chart_form.h"

#include <algorithm>

#include "chart/details/conversion_error.h"
#include "chart/details/details_text.h"
#include "chart/details/web_address.h"
#include "chart/loading/chart_load.h"

namespace chart {

ChartForm::ChartForm(ChartTables& tables, GridModel& grid, ChartPorts ports,
                     std::string chartDirectory, std::string publisherHost)
    : tables_(tables),
      grid_(grid),
      ports_(ports),
      chartDirectory_(std::move(chartDirectory)),
      publisherHost_(std::move(publisherHost)) {
    grid_.SetOnSelectCell([this](int col, int row, SelectionCause cause) {
        bool canSelect = true;
        StringGrid1SelectCell(col, row, canSelect, cause);
    });
}

// The grid may outlive the form; it must not call a form that is gone.
ChartForm::~ChartForm() { grid_.SetOnSelectCell(nullptr); }

void ChartForm::FormCreate(const ChartSnapshot& chart) {
    SetBuiltInVersions(tables_);
    ReadAll(chart);
}

void ChartForm::ReadAll(const ChartSnapshot& files) {
    // The window presents the grid once, as the whole load left it, after
    // the message boxes the load asks for.
    const GridModel::Batch presentOnce(grid_);
    const ChartLoad load = LoadChart(files, tables_, grid_, LoadRules{publisherHost_});
    programs_ = ProgramsAfter(load, programs_);
    loadMessages_ = load.messages;
    for (const std::string& message : load.messages) ports_.messages.ShowMessage(message);
}

ShownChart ChartForm::Shown() const { return ShownChart::Of(tables_, grid_, programs_, loadMessages_); }

std::string ChartForm::GetHintForTest(int row, int col) const { return DetailsText(tables_, row, col); }

void ChartForm::StringGrid1SelectCell(int ACol, int ARow, bool& CanSelect, SelectionCause cause) {
    (void)CanSelect;  // every selection proceeds
    const int C = grid_.ColCount();
    const int R = grid_.RowCount();
    const bool byUser = cause == SelectionCause::User;

    ports_.details.Clear();
    // Only rows with a table slot have anything to show or open.
    if (ARow < 1 || ARow > kMaxPrograms) return;

    try {
        if (0 < ACol && ACol < C - 1 && ARow <= R) {
            ports_.details.SetText(GetHintForTest(ARow, ACol));
        } else if (ACol == C - 1) {
            ports_.details.Clear();
            for (int m = 1; m <= C - 2; ++m)
                ports_.details.SetText(ports_.details.Text() + GetHintForTest(ARow, m));
        } else if (ACol == 0 && byUser) {
            // A move made by the row-count rule during a load is not the
            // user's choice: it opens nothing.
            const std::string& address = tables_.ProductUrl(ARow);
            if (const auto toOpen = AddressToOpen(address))
                ports_.documents.OpenDocument(*toOpen);
            else
                ports_.messages.ShowMessage(kNotWebAddressMessage + address);
        }
    } catch (const ConversionError&) {
        if (byUser) throw;
        // During a load a bad count must not abort it: the panel stays empty.
        ports_.details.Clear();
    }
}

}  // namespace chart
