#pragma once
// The chart half of the main window: loads the three files into the tables and
// the grid model, and answers a cell selection with the details text or the
// program's web page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "loading/shown_chart.h"
#include "files/chart_snapshot.h"
#include "files/chart_texts.h"
#include "tables/chart_tables.h"
#include "tables/grid_model.h"
#include "window_ports.h"

namespace chart {

// What the form reaches the window through, so that it runs without a display.
struct ChartPorts {
    MessagePort& messages;
    DocumentPort& documents;
    DetailsPanel& details;
};

class ChartForm {
public:
    // chartDirectory: where "data", "policy" and "version" live (the
    // executable's directory in the program, a temporary one in tests).
    // publisherHost ends the two version messages.
    // Installs StringGrid1SelectCell (the system's own name for the grid's
    // cell-selection handler) on the grid for as long as the form lives.
    ChartForm(ChartTables& tables, GridModel& grid, ChartPorts ports,
              std::string chartDirectory, std::string publisherHost);
    ~ChartForm();
    ChartForm(const ChartForm&) = delete;
    ChartForm& operator=(const ChartForm&) = delete;

    // The creation handler's part over the chart as read: both version
    // strings set to "10", then ReadAll.
    void FormCreate(const ChartSnapshot& chart);
    // The loading sequence (chart/loading/chart_load.h) over the three files
    // as read (the folder module reads them from the chart folder as one
    // chart), applied to the grid: what it says shown in message boxes.
    void ReadAll(const ChartSnapshot& chart);

    // Throws ConversionError when the test's count is not an integer.
    std::string GetHintForTest(int row, int col) const;
    // The grid's cell-selection handler. CanSelect is left true.
    void StringGrid1SelectCell(int ACol, int ARow, bool& CanSelect,
                               SelectionCause cause = SelectionCause::User);

    // The programs the last data file read made (rows 1 to Programs()); a
    // data file that could not be read leaves the count as it was.
    int Programs() const { return programs_; }
    // The chart as the window shows it now, with what its last load said.
    ShownChart Shown() const;

    ChartTables& Tables() { return tables_; }
    GridModel& StringGrid1() { return grid_; }
    const std::string& ChartDirectory() const { return chartDirectory_; }

private:
    ChartTables& tables_;
    GridModel& grid_;
    ChartPorts ports_;
    std::string chartDirectory_;
    std::string publisherHost_;
    int programs_ = 0;
    std::vector<std::string> loadMessages_;  // what the last load said
};

}  // namespace chart
