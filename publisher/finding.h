#pragma once
// One thing `vantrel-chart check` tells a publisher about a chart, and the two
// ways it is printed: as compilers print theirs, so that editors and CI jump
// to it, and as one JSON object a line.
#include <string>
#include <string_view>

namespace publisher {

enum class Severity { Error, Warning };

struct Finding {
    std::string file;    // as found in the folder ("data.dat" or "data")
    long long line = 0;  // counted from 1; 0 where no line applies
    Severity severity = Severity::Error;
    std::string message;

    bool operator==(const Finding&) const = default;
};

// "FILE:LINE: error: TEXT", or "FILE: error: TEXT" without a line.
std::string CompilerLine(const Finding& finding);
// {"file":…,"line":…,"severity":…,"message":…}; "line" is null without a line.
std::string JsonLine(const Finding& finding);

// Chart text quoted in a message: in single quotes, cut after a few dozen bytes
// (a name may be megabytes long) with "..." to say so.
std::string Quoted(std::string_view text);

}  // namespace publisher
