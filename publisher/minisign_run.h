#pragma once
// minisign run once, as `sign` runs it: the key's password given on its
// standard input, what it says kept for the message when it fails, and the run
// ended when a stop signal comes.
#include <optional>
#include <string>
#include <vector>

#include "publisher/stop_signals.h"

namespace publisher {

struct MinisignRun {
    int status = -1;  // its exit status; -1 when it could not be started or a signal ended it
    std::string said;  // what it wrote, but for its password prompt and progress
};

// password: nothing for a key without one (minisign then gets no input); given
// through a pipe, where minisign reads it when its input is no terminal.
MinisignRun RunMinisign(const std::string& program, const std::vector<std::string>& args,
                        const std::string* password, const StopSignals& stop);

// minisign in one of the folders of the search path (PATH's own, or
// /usr/bin:/bin without one), in order; an empty entry is none (not the
// current folder, where a chart folder may hold anything).
std::optional<std::string> FindMinisign(const char* searchPath);

}  // namespace publisher
