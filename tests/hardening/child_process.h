#pragma once
// Runs a piece of a test in a forked child, so that a hang can be cut short
// (the parent kills the child at the deadline) and the child may drop its
// privileges or measure its own peak memory without touching the test process.
#include <chrono>
#include <functional>
#include <string>

namespace hardening {

struct ChildOutcome {
    bool finished = false;  // false: killed at the deadline
    int exitCode = -1;      // valid when finished by exit
    int signal = 0;         // the signal that ended it, if one did
    std::string Describe() const;
};

// body's result is the child's exit code (0 for success). The child leaves
// with _exit, running no destructors or exit handlers of the test process.
ChildOutcome RunInChild(const std::function<int()>& body, std::chrono::milliseconds deadline);

// Peak resident memory of the calling process, in bytes.
long long PeakResidentBytes();

}  // namespace hardening
