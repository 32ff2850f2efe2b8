#pragma once
// The program, wired: the chart's folder decided and an interrupted update
// finished, the main window, the about box and the updates, then the event loop.
#include <string>

namespace vantrel {

// The main window loads the chart before it is first shown; the loop runs
// until it closes. dataServer: where updates come from (the built-in one; the end-to-end
// tests' copy gives a loopback server).
int RunProgram(int argc, char** argv, const std::string& dataServer);

}  // namespace vantrel
