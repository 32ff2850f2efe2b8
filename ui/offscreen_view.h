#pragma once
// The main window itself over a chart given as bytes, on Qt's offscreen
// platform, its boxes and browser recorded instead of shown: what the
// publisher's tool shows and draws (its face holds no Qt).
#include <memory>
#include <string>
#include <vector>

#include "chart/files/chart_snapshot.h"

namespace chart {
class RecordingPorts;
}

namespace vantrel::ui {

class TForm1;

class OffscreenView {
public:
    // Makes the application too when there is none (on the offscreen
    // platform, whatever the session).
    explicit OffscreenView(const chart::ChartSnapshot& chart);
    ~OffscreenView();
    OffscreenView(const OffscreenView&) = delete;
    OffscreenView& operator=(const OffscreenView&) = delete;

    // An Update's reload over the chart shown: the chart core's reload, as
    // the window's own, of the chart given (nothing clears a cell between
    // the two loads).
    void Reload(const chart::ChartSnapshot& chart);
    // What the last load (or reload) told the user, each line of a box
    // labelled "message: ".
    std::vector<std::string> LoadMessages() const;
    // The grid as the window shows it: the headings, then the cells of each
    // row, as UTF-8.
    std::vector<std::vector<std::string>> Grid() const;
    // Whether the grid has the cell (column 0 to 7, a row of a program).
    bool HasCell(int col, int row) const;
    // What selecting the cell does, as labelled lines: "details: " each line
    // of the details panel, "opens: " the address given to the browser,
    // "message: " and "error: " each line of a box; "none: " when the window
    // takes no such selection.
    std::vector<std::string> Select(int col, int row);
    // The window shown and drawn, with the grid focused when asked (the
    // current cell framed, as after a click), as PNG bytes.
    std::string Picture(bool gridFocused);

    TForm1& Form() { return *form_; }

private:
    struct Application;
    std::unique_ptr<Application> application_;
    std::unique_ptr<chart::RecordingPorts> ports_;
    std::size_t loadBegins_ = 0, loadEvents_ = 0;  // the last load's events
    std::unique_ptr<TForm1> form_;
};

}  // namespace vantrel::ui
