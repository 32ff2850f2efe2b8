#pragma once
// Drives a real Form1 over a chart written into a temporary directory, with a
// recording open-document port and message boxes dismissed as they appear.
#include <QTimer>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "chart/recording_ports.h"
#include "support/temp_dir.h"
#include "ui/Unit1.h"

namespace vantrel::ui::testing {

// A temporary chart directory, removed at the end of the test.
using ChartDirectory = support::TempDir;

// Four programs (or as many as asked for), six tests of two sub-criteria
// each, version 10/10.
void WriteSampleChart(const ChartDirectory& directory, int programs = 4);

using RecordingDocuments = chart::RecordingPorts;

// Closes every modal box shortly after it opens and records what it said.
class ModalDismisser {
public:
    struct Seen {
        std::string objectName;
        std::string title;
        std::string text;
        bool mainWindowVisible;
        bool plainText;  // no label of the box reads its text as markup
    };
    ModalDismisser();
    std::vector<Seen> seen;

private:
    void Poll();
    QTimer timer_;
};

// While it lives, the platform's accessibility is on (offscreen, no screen
// reader turns it on) and each move of the focus Qt tells screen readers of
// is recorded: the object and its child (-1: the object itself).
class FocusReports {
public:
    FocusReports();
    ~FocusReports();
    std::vector<std::pair<QObject*, int>> seen;
};

class FormTest : public ::testing::Test {
protected:
    // Creates Form1 over the chart in dir_ and shows it.
    void Open(bool show = true);
    // Counts the grid's selection events (then runs the window's handler).
    void CountSelections();
    QPoint CellCentre(int col, int row);
    std::string MemoText();

    ChartDirectory dir_{"vantrel-ui"};
    RecordingDocuments documents_;
    ModalDismisser boxes_;
    std::unique_ptr<TForm1> form_;
    std::vector<std::pair<int, int>> selections_;
};

}  // namespace vantrel::ui::testing
