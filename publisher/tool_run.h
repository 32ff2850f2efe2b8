#pragma once
// What both of the tool's programs do around a command: the command line
// parsed, --help and --version answered, the folders checked, and every
// fault told on standard error with its exit status.
#include <functional>

#include "publisher/arguments.h"

namespace publisher {

inline constexpr int kUsageFault = 2;
// The program that runs `show` and `preview`, beside vantrel-chart.
inline constexpr const char* kWindowProgram = "vantrel-chart-window";

// Parses the command line and runs command with it; its exit status.
int RunTool(int argc, char** argv, const std::function<int(const Arguments&)>& command);

}  // namespace publisher
