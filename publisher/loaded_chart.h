#pragma once
// A publisher's chart loaded by the viewer's own loading sequence (the chart
// form, over a private copy under the viewer's file names), with what its
// message boxes would have said. No window: what `diff` compares.
#include <string>
#include <vector>

#include "chart/chart_form.h"
#include "publisher/publisher_folder.h"
#include "publisher/recording_ports.h"

namespace publisher {

class LoadedChart {
public:
    // publisherHost ends the version messages, as in the window.
    LoadedChart(const PublisherFolder& folder, const std::string& publisherHost);

    const chart::ChartTables& Tables() const { return tables_; }
    const chart::GridModel& Grid() const { return grid_; }
    // The messages the loading sequence showed, in order.
    std::vector<std::string> Messages() const;
    // The program rows the grid shows: 1 to Programs().
    int Programs() const;
    // The details panel's text for the program in `row` and test `col`, or the
    // error a selection there raises.
    std::string Details(int row, int col) const;

private:
    class PanelText : public chart::DetailsPanel {
    public:
        void Clear() override { text.clear(); }
        std::string Text() const override { return text; }
        void SetText(const std::string& value) override { text = value; }
        std::string text;
    };

    chart::ChartTables tables_;
    chart::GridModel grid_;
    RecordingPorts ports_;
    PanelText panel_;
};

}  // namespace publisher
