#include "publisher/arguments.h"

#include <charconv>

#include "publisher/public_key.h"

namespace publisher {
namespace {

int ParseNumber(std::string_view text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        throw UsageError("--cell takes COL,ROW (two numbers from 0, such as 3,1), not '" + whole + "'");
    return value;
}

Cell ParseCell(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        throw UsageError("--cell takes COL,ROW (two numbers from 0, such as 3,1), not '" + text + "'");
    return {ParseNumber(std::string_view(text).substr(0, comma), text),
            ParseNumber(std::string_view(text).substr(comma + 1), text)};
}

}  // namespace

const char* const kUsage =
    "Usage: vantrel-chart check [--json] [--public-key KEY] DIR\n"
    "       vantrel-chart show DIR [--cell COL,ROW]\n"
    "       vantrel-chart diff OLD NEW\n"
    "       vantrel-chart preview DIR -o FILE.png [--cell COL,ROW]\n"
    "       vantrel-chart --help | --version\n"
    "\n"
    "Checks, shows, compares and previews a Vantrel chart before it is served.\n"
    "DIR holds data.dat, policy.dat and version.dat (or data, policy and version).\n"
    "\n"
    "  check    every fault readers would see, as FILE:LINE: error|warning: TEXT;\n"
    "           exit status 1 when there is an error; --json: one JSON object a line;\n"
    "           --public-key KEY (an RW... line or a .pub file): the signatures too,\n"
    "           as a build with that key checks them\n"
    "  show     the grid as the window shows it, cells separated by a TAB;\n"
    "           --cell COL,ROW: what selecting that cell does (ROW 1: the first program)\n"
    "  diff     what readers will see change from OLD to NEW; exit status 1 when anything does\n"
    "  preview  the window with the chart, drawn off-screen into a PNG file\n"
    "\n"
    "Exit status 2: a fault in the command line, or a folder that cannot be read.\n";

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    if (args.empty()) throw UsageError("no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        parsed.command = Arguments::Command::Help;
        return parsed;
    }
    if (command == "--version") {
        parsed.command = Arguments::Command::Version;
        return parsed;
    }
    if (command == "check") parsed.command = Arguments::Command::Check;
    else if (command == "show") parsed.command = Arguments::Command::Show;
    else if (command == "diff") parsed.command = Arguments::Command::Diff;
    else if (command == "preview") parsed.command = Arguments::Command::Preview;
    else throw UsageError("unknown command '" + command + "'");

    const bool takesCell = parsed.command == Arguments::Command::Show || parsed.command == Arguments::Command::Preview;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            parsed.command = Arguments::Command::Help;
            return parsed;
        } else if (arg == "--json" && parsed.command == Arguments::Command::Check) {
            parsed.json = true;
        } else if (arg == "--public-key" && parsed.command == Arguments::Command::Check) {
            parsed.publicKey = ReadPublicKey(value());
        } else if (arg == "--cell" && takesCell) {
            parsed.cell = ParseCell(value());
        } else if ((arg == "-o" || arg == "--output") && parsed.command == Arguments::Command::Preview) {
            parsed.output = value();
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("'" + command + "' has no option " + arg);
        } else {
            parsed.folders.push_back(arg);
        }
    }
    const std::size_t folders = parsed.command == Arguments::Command::Diff ? 2 : 1;
    if (parsed.folders.size() != folders)
        throw UsageError("'" + command + "' takes " + (folders == 2 ? "two folders, OLD and NEW" : "one folder"));
    if (parsed.command == Arguments::Command::Preview && parsed.output.empty())
        throw UsageError("'preview' needs -o FILE.png");
    return parsed;
}

}  // namespace publisher
