// vantrel-chart, the publisher's tool: checks, compares and signs a chart before
// it is served, without a window library; `show` and `preview` are run by
// vantrel-chart-window beside it.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "chart/files/local_path.h"
#include "publisher/arguments.h"
#include "publisher/check_command.h"
#include "publisher/diff_command.h"
#include "publisher/publisher_folder.h"
#include "publisher/sign_command.h"
#include "publisher/tool_run.h"

namespace {

// Runs the window's program beside this one with the same command line.
int RunWindowProgram(char** argv) {
    const auto directory = chart::ExecutableDirectory();
    const std::string program = chart::LocalPath(directory.value_or(std::string()), publisher::kWindowProgram);
    if (!program.empty()) {
        argv[0] = const_cast<char*>(program.c_str());
        ::execv(program.c_str(), argv);
    }
    std::cerr << "vantrel-chart: 'show' and 'preview' need " << publisher::kWindowProgram
              << " beside this program, which cannot be run (" << (program.empty() ? "its folder is not known" : program)
              << ")\n";
    return publisher::kUsageFault;
}

}  // namespace

int main(int argc, char** argv) {
    using publisher::Arguments;
    return publisher::RunTool(argc, argv, [&](const Arguments& args) {
        switch (args.command) {
        case Arguments::Command::Check:
            return publisher::RunCheck(args.folders[0], {args.json, args.verbose, args.publicKey, args.served}, std::cout,
                                       std::cerr);
        case Arguments::Command::Diff:
            return publisher::RunDiff(args.folders[0], args.folders[1], std::cout);
        case Arguments::Command::Sign:
            return publisher::RunSign(args, std::cout, std::cerr);
        case Arguments::Command::Show:
        case Arguments::Command::Preview:
            return RunWindowProgram(argv);
        default:
            return publisher::kUsageFault;
        }
    });
}
