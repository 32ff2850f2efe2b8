#pragma once
// The program's start-up: the application titled "Vantrel", the main window
// (which loads the chart before it is shown), the hidden about box, then the
// event loop until the main window closes.
#include <string>

namespace vantrel::ui {

// Updates come from the built-in data server.
int Run(int argc, char** argv);
// The same program with another data server compiled in by its caller (the
// loopback copy the end-to-end update test runs).
int Run(int argc, char** argv, const std::string& dataServer);

}  // namespace vantrel::ui
