#pragma once
// The program's start-up: the application titled "Vantrel", the main window
// (which loads the chart before it is shown), the hidden about box, then the
// event loop until the main window closes.

namespace vantrel::ui {

int Run(int argc, char** argv);

}  // namespace vantrel::ui
