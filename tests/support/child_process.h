#pragma once
// Programs the tests run beside them (minisign, openssl, a TLS relay), with
// their arguments as given: no shell in between.
#include <string>
#include <vector>

namespace support {

// Runs the program to its end, its output thrown away (its errors are not);
// true when it exited with 0. Throws when it cannot be started.
bool RunProgram(const std::vector<std::string>& argv);

// A program left running beside the test, whose first line of output the
// test reads; ended (SIGTERM, then waited for) when the object goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Its first line of output without the line end; "" when it ended first.
    std::string FirstLine();

private:
    int pid_ = -1;
    int output_ = -1;  // the read end of its standard output
};

}  // namespace support
