#include "chart/chart_form.h"

#include <algorithm>

#include "chart/details/conversion_error.h"
#include "chart/details/details_text.h"
#include "chart/details/web_address.h"
#include "chart/files/chart_file_set.h"
#include "chart/files/data_file.h"
#include "chart/files/file_bytes.h"
#include "chart/files/local_path.h"
#include "chart/files/policy_file.h"
#include "chart/files/version_file.h"
#include "chart/loading/version_gate.h"

namespace chart {
namespace {

// Points the readers at a reload's snapshot for as long as it lives. A
// message box's event loop may run another reload inside this one: the outer
// one gets its own snapshot back.
class SnapshotInUse {
public:
    SnapshotInUse(const ChartSnapshot*& current, const ChartSnapshot& snapshot)
        : current_(current), before_(current) {
        current_ = &snapshot;
    }
    ~SnapshotInUse() { current_ = before_; }
    SnapshotInUse(const SnapshotInUse&) = delete;
    SnapshotInUse& operator=(const SnapshotInUse&) = delete;

private:
    const ChartSnapshot*& current_;
    const ChartSnapshot* const before_;
};

}  // namespace

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
    tables_.LatestVersion = std::string(BuiltInVersion);
    tables_.RequiredVersion = std::string(BuiltInVersion);
    ReadAll(chart);
}

void ChartForm::ReadAll(const ChartSnapshot& snapshot) {
    loadMessages_.clear();
    const SnapshotInUse use(snapshot_, snapshot);
    // The window presents the grid once, as the whole load left it.
    const GridModel::Batch presentOnce(grid_);
    ReadVersion();
    if (IsNewerVersion(tables_.RequiredVersion, BuiltInVersion)) {
        Tell(kNeedNewestVersionMessage + publisherHost_);
        grid_.SetEnabled(false);
        return;
    }
    grid_.SetEnabled(true);
    if (IsNewerVersion(tables_.LatestVersion, BuiltInVersion))
        Tell(kNewestAvailableMessage + publisherHost_);
    ReadInfo(kDataFileName, grid_);
    ReadPolicy(kPolicyFileName);
}

// Whatever went wrong in a reader, the user is told the same; what the reader
// stored before the failure stays.

void ChartForm::ReadVersion() {
    try {
        ReadVersionBytes(FileBytes(kVersionFileName), tables_);
    } catch (...) {
        Tell(kNoVersionFileMessage);
        grid_.SetEnabled(false);
    }
}

void ChartForm::ReadInfo(const std::string& fileName, GridModel& grid) {
    // Held across the failure too: the message comes before the grid is presented.
    const GridModel::Batch presentOnce(grid);
    try {
        programs_ = std::min(ReadDataBytes(FileBytes(fileName), tables_, grid).programs, kMaxPrograms);
    } catch (...) {
        Tell(kNoDataFileMessage);
        grid.SetEnabled(false);
    }
}

void ChartForm::ReadPolicy(const std::string& fileName) {
    try {
        ReadPolicyBytes(FileBytes(fileName), tables_);
    } catch (...) {
        Tell(kNoPolicyFileMessage);
        grid_.SetEnabled(false);
    }
}

std::string_view ChartForm::FileBytes(const std::string& fileName) {
    if (snapshot_ && snapshot_->Holds(fileName)) return snapshot_->Bytes(fileName);
    readNow_ = ReadFileBytes(LocalPath(chartDirectory_, fileName), kChartFileSizeCap);
    return readNow_;
}

void ChartForm::Tell(const std::string& text) {
    loadMessages_.push_back(text);
    ports_.messages.ShowMessage(text);
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
