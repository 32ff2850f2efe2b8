#pragma once
// The chart half of the main window: loads the three files into the tables and
// the grid model, and answers a cell selection with the details text or the
// program's web page. Reaches the window only through the ports it is given,
// so it runs without a display. The desktop window (TForm1) owns one; the
// file formats and the details text it goes by live below it, in files/ and
// details/.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diff/shown_chart.h"
#include "files/chart_file_set.h"
#include "files/chart_snapshot.h"
#include "files/data_file.h"
#include "files/policy_file.h"
#include "files/version_file.h"
#include "tables/chart_tables.h"
#include "tables/grid_model.h"
#include "window_ports.h"

namespace chart {

// Messages shown by the loading sequence, byte for byte (the readers' own
// are in files/chart_file_set.h).
inline constexpr const char* kNeedNewestVersionMessage =
    "You need newest version to read the data files. Please download it on ";
inline constexpr const char* kNewestAvailableMessage =
    "Newest version already available. Please update it on ";
// Shown instead of opening a program's page address that is not a web address;
// the address follows on the next line.
inline constexpr const char* kNotWebAddressMessage =
    "This program's page address is not a web address, so it was not opened:\r\n";

// What the form reaches the world through.
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
    // The loading sequence over the three files as read (the folder module
    // reads them from the chart folder as one chart; the publisher's tool
    // from its own files), messages and all.
    void ReadAll(const ChartSnapshot& chart);
    void ReadVersion();
    // The readers: fileName is a bare local name. A failure is told with the
    // reader's message and disables the grid; it goes no further. Within
    // ReadAll they read the reload's snapshot, otherwise the file's bytes
    // read then; the readers themselves only ever see bytes.
    void ReadInfo(const std::string& fileName, GridModel& grid);
    void ReadPolicy(const std::string& fileName);

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
    // A message of the loading sequence: shown, and kept with the chart shown.
    void Tell(const std::string& text);
    // The bytes the readers go through (see ReadInfo); raises the read's failure.
    std::string_view FileBytes(const std::string& fileName);

    ChartTables& tables_;
    GridModel& grid_;
    ChartPorts ports_;
    std::string chartDirectory_;
    std::string publisherHost_;
    const ChartSnapshot* snapshot_ = nullptr;  // while ReadAll runs
    std::string readNow_;  // a file read outside a reload, while its reader runs
    int programs_ = 0;
    std::vector<std::string> loadMessages_;  // what the last load said
};

}  // namespace chart
