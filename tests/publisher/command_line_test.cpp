// vantrel-chart from the outside: its exit statuses for each kind of outcome,
// and diff on a pair of charts, line for line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fcntl.h>

#include <sstream>

#include "publisher/diff_command.h"
#include "support/child_process.h"
#include "support/test_data.h"

namespace {

using namespace std::chrono_literals;

std::string Data(const std::string& relative) { return support::TestDataPath(relative).string(); }

int ExitStatus(const std::vector<std::string>& args) {
    const auto outcome = support::RunInChild(
        [&] {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            std::vector<char*> argv{const_cast<char*>(VANTREL_CHART_TOOL)};
            for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            return 127;
        },
        30s);
    EXPECT_TRUE(outcome.finished) << outcome.Describe();
    return outcome.exitCode;
}

TEST(CommandLine, ExitStatuses) {
    const std::string base = Data("publisher/check/base"), changed = Data("publisher/diff/new");
    const std::pair<std::vector<std::string>, int> rows[] = {
        {{"check", VANTREL_SAMPLE_CHART_DIR}, 0},
        {{"check", "--json", Data("publisher/check/viewer-names")}, 1},  // an error
        {{"check", changed}, 0},  // a warning alone
        {{"diff", base, base}, 0},
        {{"diff", base, changed}, 1},
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{}, 2},
        {{"lint", base}, 2},
        {{"check"}, 2},
        {{"check", base, base}, 2},
        {{"check", "--cell", "1,1", base}, 2},
        {{"check", "/nonexistent/folder"}, 2},
        {{"check", "--public-key", "/nonexistent/key.pub", base}, 2},
        {{"diff", base}, 2},
        {{"show", base, "--cell", "1;1"}, 2},
        {{"show", base, "--cell", "-1,1"}, 2},
        {{"preview", base}, 2},  // no -o
    };
    for (const auto& [args, status] : rows) EXPECT_EQ(ExitStatus(args), status) << ::testing::PrintToString(args);
}

TEST(CommandLine, DiffTellsWhatReadersWillSeeChange) {
    std::ostringstream out;
    EXPECT_EQ(publisher::RunDiff(Data("publisher/check/base"), Data("publisher/diff/new"), out), 1);
    EXPECT_EQ(out.str(), support::TestData("publisher/diff/expected"));
}

}  // namespace
