#pragma once
// The program, wired: the application titled "Vantrel", the chart's folder
// decided and an interrupted update finished, the main window (which loads
// the chart before it is shown), the hidden about box, the updates, then the
// event loop until the main window closes.
#include <string>

namespace vantrel {

// dataServer: where updates come from (the built-in one; the end-to-end
// tests' copy gives a loopback server).
int RunProgram(int argc, char** argv, const std::string& dataServer);

}  // namespace vantrel
