// vantrel-chart from the outside: its exit statuses for each kind of outcome,
// run on copies of the charts, each of which is byte for byte the same after
// the command; keys and outputs that are no such thing; and diff on a pair of
// charts, line for line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "publisher/diff_command.h"
#include "support/child_process.h"
#include "support/minisign_key.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;
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

// Every file of a folder and its bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto status = fs::symlink_status(entry.path());
        contents[entry.path().filename()] =
            fs::is_regular_file(status) ? support::ReadFile(entry.path()) : "(not a file)";
    }
    return contents;
}

TEST(CommandLine, ExitStatusesAndTheChartsUntouched) {
    const support::TempDir base("vantrel-base"), changed("vantrel-changed"), viewer("vantrel-viewer"),
        scratch("vantrel-scratch");
    for (const auto& [from, to] : {std::pair{Data("publisher/check/base"), &base}, {Data("diff/changes/new"), &changed},
                                   {Data("publisher/check/viewer-names"), &viewer}})
        for (const auto& entry : fs::directory_iterator(from)) fs::copy_file(entry.path(), to->Dir() / entry.path().filename());
    // Keys that are none, read without waiting or filling memory.
    const support::MinisignKey key;
    const std::string fifo = scratch.Path() + "/key.fifo", huge = scratch.Path() + "/huge.pub";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::truncate((scratch.Write("huge.pub", ""), huge).c_str(), 300 << 20), 0);
    const std::string b = base.Path(), n = changed.Path();

    const std::pair<std::vector<std::string>, int> rows[] = {
        {{"check", VANTREL_SAMPLE_CHART_DIR}, 0},
        {{"check", "--json", viewer.Path()}, 1},  // an error
        {{"check", n}, 0},                        // a warning alone
        {{"diff", b, b}, 0},
        {{"diff", b, n}, 1},
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{"show", b}, 0},
        {{"show", b, "--cell", "3,1"}, 0},
        {{"preview", b, "-o", scratch.Path() + "/chart.png"}, 0},
        {{"check", "--public-key", key.PublicKeyFile(), b}, 1},  // not signed
        {{}, 2},
        {{"lint", b}, 2},
        {{"check"}, 2},
        {{"check", b, b}, 2},
        {{"check", "--cell", "1,1", b}, 2},
        {{"check", "/nonexistent/folder"}, 2},
        {{"check", "--json", "--json", b}, 2},  // given twice
        {{"check", "--", "--json"}, 2},         // a folder named --json
        {{"check", "--public-key", "/nonexistent/key.pub", b}, 2},
        {{"check", "--public-key", "RWnotakey", b}, 2},
        {{"check", "--public-key", key.SecretKeyFile(), b}, 2},
        {{"check", "--public-key", "/dev/zero", b}, 2},
        {{"check", "--public-key", fifo, b}, 2},
        {{"check", "--public-key", huge, b}, 2},
        {{"diff", b}, 2},
        {{"show", b, "--cell", "1;1"}, 2},
        {{"show", b, "--cell", "-1,1"}, 2},
        {{"show", b, "--cell", "8,1"}, 2},
        {{"show", b, "--cell", "1,9"}, 2},  // the chart has three programs
        {{"preview", b}, 2},                // no -o
        {{"preview", b, "-o", b + "/data.dat"}, 2},
        {{"preview", b, "-o", b + "/chart.png"}, 2},
        {{"sign", b}, 2},  // no -s
    };
    const auto before = std::pair{Contents(base.Dir()), Contents(changed.Dir())};
    for (const auto& [args, status] : rows) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(ExitStatus(args), status);
        EXPECT_EQ(Contents(base.Dir()), before.first);
        EXPECT_EQ(Contents(changed.Dir()), before.second);
    }
}

// The diff rules' own table is the chart core's; here, the command prints them.
TEST(CommandLine, DiffPrintsWhatReadersWillSeeChange) {
    std::ostringstream out;
    EXPECT_EQ(publisher::RunDiff(Data("diff/changes/old"), Data("diff/changes/new"), out), 1);
    EXPECT_EQ(out.str(), support::TestData("diff/changes/expected"));
}

}  // namespace
