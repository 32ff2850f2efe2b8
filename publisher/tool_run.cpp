// What both of the tool's programs do around a command, each fault told with its exit status.
#include "publisher/tool_run.h"

#include <iostream>
#include <string>
#include <vector>

#include "publisher/publisher_folder.h"

namespace publisher {
namespace {

int UsageFault(const std::string& what) {
    std::cerr << "vantrel-chart: " << what << "\nTry 'vantrel-chart --help'.\n";
    return kUsageFault;
}

}  // namespace

int RunTool(int argc, char** argv, const std::function<int(const Arguments&)>& command) {
    try {
        const Arguments args = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (args.command == Arguments::Command::Help) {
            std::cout << kUsage;
            return 0;
        }
        if (args.command == Arguments::Command::Version) {
            std::cout << "vantrel-chart " VANTREL_VERSION "\n";
            return 0;
        }
        for (const std::string& folder : args.folders)
            if (!IsReadableFolder(folder)) return UsageFault("cannot read the folder '" + folder + "'");
        if (!args.served.empty() && !IsReadableFolder(args.served))
            return UsageFault("cannot read the served chart's folder '" + args.served + "'");
        return command(args);
    } catch (const UsageError& fault) {
        return UsageFault(fault.what());
    } catch (const std::exception& failure) {
        std::cerr << "vantrel-chart: " << failure.what() << '\n';
        return kUsageFault;
    }
}

}  // namespace publisher
