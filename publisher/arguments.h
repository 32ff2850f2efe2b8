#pragma once
// The command line of vantrel-chart: a subcommand, its folders and options.
// A fault in it is raised as UsageError, whose text says what is wrong.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace publisher {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Cell {
    int col = 0;
    int row = 0;
};

struct Arguments {
    enum class Command { Help, Version, Check, Show, Diff, Preview };
    Command command = Command::Help;
    std::vector<std::string> folders;  // DIR, or OLD and NEW
    bool json = false;                 // check
    std::string publicKey;             // check: the key line, read from --public-key
    std::optional<Cell> cell;          // show, preview
    std::string output;                // preview
};

// args: the command line without the program's name.
Arguments ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace publisher
