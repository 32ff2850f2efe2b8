#pragma once
// The command line of vantrel-chart: a subcommand, its folders and options.
// A fault in it is raised as UsageError, whose text says what is wrong.
#include <optional>
#include <string>
#include <vector>

#include "publisher/usage_error.h"

namespace publisher {

struct Cell {
    int col = 0;
    int row = 0;
};

struct Arguments {
    enum class Command { Help, Version, Check, Show, Diff, Preview, Sign };
    Command command = Command::Help;
    std::vector<std::string> folders;  // DIR, or OLD and NEW
    bool json = false;                 // check
    bool verbose = false;              // check: the summary line whatever the findings
    std::string served;                // check, show, preview, sign: the chart being served (--served)
    std::string publicKey;             // check, sign: as given (a key line or a .pub file)
    std::string secretKey;             // sign: the secret key file
    bool force = false;                // sign: even a chart check finds an error in
    std::optional<Cell> cell;          // show, preview
    std::string output;                // preview: a file, or "-" for standard output
};

// args: the command line without the program's name. "--" ends the options.
Arguments ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace publisher
