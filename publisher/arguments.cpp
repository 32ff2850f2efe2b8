// The command line of vantrel-chart parsed, a fault raised as UsageError.
#include "publisher/arguments.h"

#include <charconv>
#include <set>

#include "chart/tables/grid_model.h"

namespace publisher {
namespace {

constexpr const char* kCellForm = "--cell takes COL,ROW (COL from 0 to 7, ROW from 1, such as 3,1), not '";

int ParseNumber(std::string_view text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        throw UsageError(kCellForm + whole + "'");
    return value;
}

Cell ParseCell(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) throw UsageError(kCellForm + text + "'");
    const Cell cell{ParseNumber(std::string_view(text).substr(0, comma), text),
                    ParseNumber(std::string_view(text).substr(comma + 1), text)};
    if (cell.col >= chart::GridModel::kColCount || cell.row < 1) throw UsageError(kCellForm + text + "'");
    return cell;
}

}  // namespace

const char* const kUsage =
    "Usage: vantrel-chart check [--json] [--verbose] [--public-key KEY] [--served SERVED] DIR\n"
    "       vantrel-chart show DIR [--served SERVED] [--cell COL,ROW]\n"
    "       vantrel-chart diff OLD NEW\n"
    "       vantrel-chart preview DIR -o FILE.png|- [--served SERVED] [--cell COL,ROW]\n"
    "       vantrel-chart sign -s SECRET.key [-p PUBLIC.pub] [--served SERVED] [--force] DIR\n"
    "       vantrel-chart --help | --version\n"
    "\n"
    "Checks, shows, compares, previews and signs a Vantrel chart before it is served.\n"
    "DIR holds data.dat, policy.dat and version.dat (or data, policy and version).\n"
    "The formats are in vantrel-chart(5).\n"
    "\n"
    "  check    every fault readers would see, as FILE:LINE: error|warning: TEXT;\n"
    "           exit status 1 when there is an error; --json: one JSON object a line;\n"
    "           a summary line on standard error when nothing is found (--verbose: always);\n"
    "           --public-key KEY (an RW... line or a .pub file): the signatures too,\n"
    "           as a build with that key checks them, and the release's date\n"
    "  show     the grid as the window shows it, cells separated by a TAB;\n"
    "           --cell COL,ROW: what selecting that cell does (ROW 1: the first program)\n"
    "  diff     what readers will see change from OLD to NEW, in What changed's words,\n"
    "           and where a reader who starts afresh sees otherwise; exit status 1 when\n"
    "           anything does\n"
    "  preview  the window with the chart, drawn off-screen into a PNG file (- : standard output)\n"
    "  sign     signs the three files as one release with minisign, asking for the key's\n"
    "           password once, unless check finds an error (--force: all the same);\n"
    "           -p: then checks the signatures\n"
    "\n"
    "--served SERVED: the chart readers have now (the one being served): check, show and\n"
    "preview then judge the chart as readers who update from it see it (cells the new\n"
    "chart does not fill keep their text), and sign signs no release older than it.\n"
    "Without it, check judges both a reader who starts afresh and one who updates.\n"
    "\n"
    "Options end at --. Exit status 2: a fault in the command line, or a folder or\n"
    "key that cannot be read.\n";

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    if (args.empty()) throw UsageError("no command given");
    const std::string& command = args[0];
    using Command = Arguments::Command;
    if (command == "--help" || command == "-h" || command == "help") {
        parsed.command = Command::Help;
        return parsed;
    }
    if (command == "--version") {
        parsed.command = Command::Version;
        return parsed;
    }
    if (command == "check") parsed.command = Command::Check;
    else if (command == "show") parsed.command = Command::Show;
    else if (command == "diff") parsed.command = Command::Diff;
    else if (command == "preview") parsed.command = Command::Preview;
    else if (command == "sign") parsed.command = Command::Sign;
    else throw UsageError("unknown command '" + command + "'");

    const Command c = parsed.command;
    const bool takesCell = c == Command::Show || c == Command::Preview;
    std::set<std::string> seen;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.folders.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.command = Command::Help;
            return parsed;
        }
        const std::string option = arg == "--output" ? "-o" : arg;
        if (!seen.insert(option).second) throw UsageError(arg + " is given twice");
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        const bool takesServed = takesCell || c == Command::Check || c == Command::Sign;
        if (option == "--json" && c == Command::Check) parsed.json = true;
        else if (option == "--verbose" && c == Command::Check) parsed.verbose = true;
        else if (option == "--served" && takesServed) parsed.served = value();
        else if (option == "--public-key" && c == Command::Check) parsed.publicKey = value();
        else if (option == "--cell" && takesCell) parsed.cell = ParseCell(value());
        else if (option == "-o" && c == Command::Preview) parsed.output = value();
        else if (option == "-s" && c == Command::Sign) parsed.secretKey = value();
        else if (option == "-p" && c == Command::Sign) parsed.publicKey = value();
        else if (option == "--force" && c == Command::Sign) parsed.force = true;
        else throw UsageError("'" + command + "' has no option " + arg);
    }
    const std::size_t folders = c == Command::Diff ? 2 : 1;
    if (parsed.folders.size() != folders)
        throw UsageError("'" + command + "' takes " + (folders == 2 ? "two folders, OLD and NEW" : "one folder"));
    if (c == Command::Preview && parsed.output.empty()) throw UsageError("'preview' needs -o FILE.png (or -o -)");
    if (c == Command::Sign && parsed.secretKey.empty()) throw UsageError("'sign' needs -s SECRET.key");
    return parsed;
}

}  // namespace publisher
