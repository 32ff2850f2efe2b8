#pragma once
// What `vantrel-chart check` tells a publisher about a chart, and the two
// ways it is printed: as compilers print theirs, so that editors and CI jump
// to it, and as one JSON object a line.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "chart/text/quoted.h"

namespace publisher {

enum class Severity { Error, Warning };

struct Finding {
    std::string file;    // as found in the folder ("data.dat" or "data")
    long long line = 0;  // counted from 1; 0 where no line applies
    Severity severity = Severity::Error;
    std::string message;
    // A summary of a kind past the cap ("…and N more like it"): how many more
    // of that kind (whose severity it keeps, for the counts); 0 for a finding.
    long long more = 0;

    bool IsSummary() const { return more > 0; }

    bool operator==(const Finding&) const = default;
};

// The findings of one check. At most kSameKindShown of one kind are kept, and
// a summary says how many others there were: a file of millions of faulty
// lines costs no more than a few hundred.
class Findings {
public:
    static constexpr int kSameKindShown = 100;

    // kind: what the finding is about, the same for every finding of its kind.
    void Add(std::string_view kind, Finding finding) {
        if (Take(kind, finding.severity)) Show(std::move(finding));
    }
    // Counts a finding of the kind; true when it is to be shown (Show), so
    // that one past the cap costs no message.
    bool Take(std::string_view kind, Severity severity);
    void Show(Finding finding);
    bool HasError() const { return hasError_; }
    // In the order of the files (fileOrder), then of their lines; each
    // kind's summary after the last shown of its kind.
    std::vector<Finding> Sorted(const std::array<std::string, 3>& fileOrder) const;

private:
    struct Kind {
        long long count = 0;
        std::size_t lastShown = 0;  // in shown_
    };
    Kind* taken_ = nullptr;  // the kind Take counted last
    std::vector<Finding> shown_;
    std::map<std::string, Kind, std::less<>> kinds_;
    bool hasError_ = false;
};

// "FILE:LINE: error: TEXT", or "FILE: error: TEXT" without a line; chart text
// in it shown as a terminal may print it. A summary is "FILE: …and N more
// like it", with neither line nor severity, so that no editor jumps to it
// and no count of errors counts it.
std::string CompilerLine(const Finding& finding);
// {"file":…,"line":…,"severity":…,"message":…}; "line" is null without a
// line. A summary: {"file":…,"more":N,"message":…}.
std::string JsonLine(const Finding& finding);

// Errors and warnings among findings, those a summary stands for included.
struct SeverityCounts {
    long long errors = 0;
    long long warnings = 0;
};
SeverityCounts CountBySeverity(const std::vector<Finding>& findings);

using chart::Quoted;

}  // namespace publisher
