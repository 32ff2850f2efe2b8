#pragma once
// Programs the tests run beside them (minisign, openssl, a TLS relay), with no
// shell in between; and a piece of a test run in a forked child under a deadline.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace support {

// How long a program the tests run may take, or take to say its first line,
// before it is taken for hung: a failure, never a hang of the suite.
inline constexpr std::chrono::seconds kChildDeadline{60};

// Runs the program to its end, its output thrown away (its errors are not);
// true when it exited with 0 within kChildDeadline. Throws when it cannot be
// started.
bool RunProgram(const std::vector<std::string>& argv);

// Waits for the child pid to end, at most `deadline` (then kills it); its
// wait status, or nothing when it had to be killed.
std::optional<int> WaitForExit(int pid, std::chrono::milliseconds deadline);

// A program left running beside the test, whose first line of output the
// test reads; ended (SIGTERM, then waited for) when the object goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Its first line of output without the line end; "" when it ended first
    // or said nothing within kChildDeadline.
    std::string FirstLine();

private:
    int pid_ = -1;
    int output_ = -1;  // the read end of its standard output
};

struct ChildOutcome {
    bool finished = false;  // false: killed at the deadline
    int exitCode = -1;      // valid when finished by exit
    int signal = 0;         // the signal that ended it, if one did
    std::string Describe() const;
};

// A piece of a test in a forked child, so that a hang is cut short (killed at
// the deadline) and the child may drop its privileges or measure its own peak
// memory without touching the test process.
// body's result is the child's exit code (0 for success). The child leaves
// with _exit, running no destructors or exit handlers of the test process.
ChildOutcome RunInChild(const std::function<int()>& body, std::chrono::milliseconds deadline);

// Peak resident memory of the calling process, in bytes.
long long PeakResidentBytes();

}  // namespace support
