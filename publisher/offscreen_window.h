#pragma once
// The viewer's own main window over a publisher's chart, on Qt's offscreen
// platform: the same loading sequence, grid, details panel and selection
// handler as on a desktop, with the message boxes and the browser recorded
// (RecordingPorts) instead of shown. What `show` prints and `preview` draws.
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "publisher/arguments.h"
#include "publisher/publisher_folder.h"
#include "publisher/recording_ports.h"
#include "publisher/viewer_folder.h"
#include "ui/Unit1.h"

namespace publisher {

class OffscreenWindow {
public:
    explicit OffscreenWindow(const PublisherFolder& folder);
    ~OffscreenWindow();

    vantrel::ui::TForm1& Form() { return *form_; }
    // What the loading sequence told the user, as the message boxes show it.
    std::vector<std::string> LoadMessages() const;
    // The window's grid as it shows it: the headings, then one line a row,
    // the cells separated by a TAB.
    std::vector<std::string> GridLines();
    // What selecting the cell does, as labelled lines: "details: " each line
    // of the details panel, "opens: " the address given to the browser,
    // "message: " and "error: " each line of a box; "none: " when the
    // window takes no such selection.
    std::vector<std::string> Select(Cell cell);

private:
    std::unique_ptr<QApplication> ownApplication_;
    int argc_ = 1;
    char programName_[14] = "vantrel-chart";
    char* argv_[2] = {programName_, nullptr};
    ViewerFolder copy_;
    RecordingPorts ports_;
    std::size_t loadEvents_ = 0;
    std::unique_ptr<vantrel::ui::TForm1> form_;
};

}  // namespace publisher
