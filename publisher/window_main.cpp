// vantrel-chart-window: vantrel-chart's `show` and `preview`, which run the
// viewer's own window off-screen; vantrel-chart runs it for them, so that its
// other commands load no window library.
#include <iostream>

#include "publisher/tool_run.h"
#include "publisher/window_commands.h"

int main(int argc, char** argv) {
    using publisher::Arguments;
    return publisher::RunTool(argc, argv, [](const Arguments& args) {
        switch (args.command) {
        case Arguments::Command::Show:
            return publisher::RunShow(args.folders[0], args.served, args.cell, std::cout, std::cerr);
        case Arguments::Command::Preview:
            return publisher::RunPreview(args.folders[0], args.served, args.output, args.cell, std::cout, std::cerr);
        default:
            std::cerr << "vantrel-chart: " << publisher::kWindowProgram << " runs 'show' and 'preview' only\n";
            return publisher::kUsageFault;
        }
    });
}
