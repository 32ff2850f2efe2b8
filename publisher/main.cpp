// vantrel-chart: the publisher's tool. Checks, shows, compares and previews a
// chart before it is served, by the viewer's own code.
#include <iostream>
#include <string>
#include <vector>

#include "publisher/arguments.h"
#include "publisher/check_command.h"
#include "publisher/diff_command.h"
#include "publisher/preview_command.h"
#include "publisher/publisher_folder.h"
#include "publisher/show_command.h"

namespace {

constexpr int kUsageFault = 2;

int UsageFault(const std::string& what) {
    std::cerr << "vantrel-chart: " << what << "\nTry 'vantrel-chart --help'.\n";
    return kUsageFault;
}

}  // namespace

int main(int argc, char** argv) {
    using publisher::Arguments;
    Arguments args;
    try {
        args = publisher::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const publisher::UsageError& fault) {
        return UsageFault(fault.what());
    }
    for (const std::string& folder : args.folders)
        if (!publisher::IsReadableFolder(folder)) return UsageFault("cannot read the folder '" + folder + "'");

    try {
        switch (args.command) {
            case Arguments::Command::Help:
                std::cout << publisher::kUsage;
                return 0;
            case Arguments::Command::Version:
                std::cout << "vantrel-chart " VANTREL_VERSION "\n";
                return 0;
            case Arguments::Command::Check:
                return publisher::RunCheck(args.folders[0], args.json, args.publicKey, std::cout);
            case Arguments::Command::Show:
                return publisher::RunShow(args.folders[0], args.cell, std::cout, std::cerr);
            case Arguments::Command::Diff:
                return publisher::RunDiff(args.folders[0], args.folders[1], std::cout);
            case Arguments::Command::Preview:
                return publisher::RunPreview(args.folders[0], args.output, args.cell, std::cerr);
        }
    } catch (const std::exception& failure) {
        std::cerr << "vantrel-chart: " << failure.what() << '\n';
        return kUsageFault;
    }
    return kUsageFault;
}
