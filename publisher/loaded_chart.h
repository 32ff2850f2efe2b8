#pragma once
// A publisher's chart loaded by the viewer's own loading sequence (the chart
// form, over the files' bytes as read from the publisher's folder), with what
// its message boxes would have said. No window: what `diff` compares.
#include <string>
#include <vector>

#include "chart/chart_form.h"
#include "chart/recording_ports.h"
#include "publisher/publisher_folder.h"

namespace publisher {

class LoadedChart {
public:
    // publisherHost ends the version messages, as in the window.
    LoadedChart(const PublisherFolder& folder, const std::string& publisherHost);

    const chart::ChartTables& Tables() const { return tables_; }
    const chart::GridModel& Grid() const { return grid_; }
    // The messages the loading sequence showed, in order.
    std::vector<std::string> Messages() const { return ports_.Messages(); }
    // The program rows the reader filled: 1 to Programs().
    int Programs() const { return programs_; }
    // The details panel's text for the program in `row` and test `col`, or the
    // error a selection there raises.
    std::string Details(int row, int col) const;

private:
    chart::ChartTables tables_;
    chart::GridModel grid_;
    chart::RecordingPorts ports_;
    int programs_ = 0;
};

// The chart in the folder as a chart snapshot: each file's bytes, or nothing
// for one that cannot be read.
chart::ChartSnapshot SnapshotOf(const PublisherFolder& folder);

}  // namespace publisher
