// vantrel-chart from the outside: its exit statuses, the charts it is run on
// left byte for byte as they were, check's summary, and diff on a pair of charts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "chart_case.h"
#include "publisher/diff_command.h"
#include "publisher/release_date.h"
#include "support/child_process.h"
#include "support/minisign_key.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using publisher_test::Lines;

std::string Data(const std::string& relative) { return support::TestDataPath(relative).string(); }

struct Run {
    int status = -1;
    std::string out, err;
};

// vantrel-chart run with args, what it printed on each stream kept.
Run RunTool(const std::vector<std::string>& args) {
    const support::TempDir streams("vantrel-streams");
    const std::string out = streams.Path() + "/out", err = streams.Path() + "/err";
    const auto outcome = support::RunInChild(
        [&] {
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            std::vector<char*> argv{const_cast<char*>(VANTREL_CHART_TOOL)};
            for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            return 127;
        },
        30s);
    EXPECT_TRUE(outcome.finished) << outcome.Describe();
    return {outcome.exitCode, support::ReadFile(out), support::ReadFile(err)};
}

int ExitStatus(const std::vector<std::string>& args) { return RunTool(args).status; }

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
        {{"check", "--verbose", "--served", n, b}, 0},
        {{"show", b, "--served", n}, 0},
        {{"show", b, "--served", n, "--cell", "6,2"}, 0},
        {{"preview", b, "--served", n, "-o", scratch.Path() + "/updated.png"}, 0},
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
        {{"check", "--served", "/nonexistent/folder", b}, 2},
        {{"diff", "--served", n, b, n}, 2},
        {{"preview", b, "--served", n, "-o", n + "/chart.png"}, 2},  // into the served chart
        {{"sign", "-s", key.PublicKeyFile(), b}, 2},
        {{"sign", "-s", fifo, b}, 2},
    };
    const auto before = std::pair{Contents(base.Dir()), Contents(changed.Dir())};
    for (const auto& [args, status] : rows) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(ExitStatus(args), status);
        EXPECT_EQ(Contents(base.Dir()), before.first);
        EXPECT_EQ(Contents(changed.Dir()), before.second);
    }
}

// What check says beside its findings: a summary line on standard error only
// (when clean, or with --verbose), and a key file that is not there named so.
TEST(CommandLine, CheckTellsItsSummaryApartFromItsFindings) {
    const auto clean = RunTool({"check", VANTREL_SAMPLE_CHART_DIR});
    EXPECT_EQ(clean.out, "");
    EXPECT_EQ(clean.err, "vantrel-chart: " VANTREL_SAMPLE_CHART_DIR ": 16 programs, 6 tests: 0 errors, 0 warnings\n");
    const support::TempDir shortLine("vantrel-short"), manyAlike("vantrel-many");
    publisher_test::AssembleChart("publisher/check/results-short", shortLine);
    publisher_test::AssembleChart("publisher/check/many-alike", manyAlike);
    const auto found = RunTool({"check", shortLine.Path()});
    EXPECT_EQ(found.err, "");
    EXPECT_EQ(std::count(found.out.begin(), found.out.end(), '\n'), 1);
    const auto verbose = RunTool({"check", "--verbose", "--json", manyAlike.Path()});
    EXPECT_TRUE(verbose.err.ends_with(": 0 programs, 6 tests: 106 errors, 0 warnings\n")) << verbose.err;
    EXPECT_TRUE(verbose.out.ends_with("{\"file\":\"data.dat\",\"more\":5,\"message\":\"\xE2\x80\xA6" "and 5 more like it\"}\n"));
    const auto noKey = RunTool({"check", "--public-key", "/nonexistent/key.pub", VANTREL_SAMPLE_CHART_DIR});
    EXPECT_EQ(noKey.status, 2);
    EXPECT_TRUE(noKey.err.starts_with("vantrel-chart: the key file '/nonexistent/key.pub' cannot be read (no such file)"))
        << noKey.err;
}

// diff reads both releases' signatures, when they are there, and says what
// readers make of the new one's date.
TEST(CommandLine, DiffTellsTheReleasesDates) {
    const support::MinisignKey key;
    constexpr std::uint64_t kServed = 1'750'000'000;
    const std::uint64_t aDayAhead = publisher::Now() + 23 * 3600 + 1800;
    struct Row {
        const char* name;
        std::uint64_t released;
        std::vector<std::string> said;  // the beginning of each release line
    };
    const Row rows[] = {
        {"a later release", kServed + 60, {}},
        {"23 hours ahead", aDayAhead,
         {"release: the new chart is dated " + publisher::DateText(aDayAhead) +
          ", 23 hours ahead of this computer's clock: readers who take it refuse every release dated before it"}},
        {"timestamp 0", 0,
         {"release: the new chart is dated 1970-01-01 00:00:00 UTC, before 2000",
          "release: the new chart is dated 1970-01-01 00:00:00 UTC, before the served release"}},
        {"older than the served release", kServed - 1,
         {"release: the new chart is dated 2025-06-15 15:06:39 UTC, before the served release (2025-06-15 15:06:40 "
          "UTC): readers who hold the served chart refuse it"}},
        {"the served release's date", kServed,
         {"release: the new chart is dated 2025-06-15 15:06:40 UTC, the very date of the served release"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const support::TempDir served("vantrel-served"), release("vantrel-release");
        for (const auto& [folder, time] : {std::pair{&served, kServed}, {&release, row.released}})
            for (const char* file : {"data.dat", "policy.dat", "version.dat"}) {
                folder->Write(file, support::TestData(std::string("publisher/check/base/") + file));
                folder->Write(std::string(file) + ".minisig", key.Sign(folder->Read(file), time, file));
            }
        std::ostringstream out;
        EXPECT_EQ(publisher::RunDiff(served.Path(), release.Path(), out), 0);  // the charts show the same
        const auto said = Lines(out.str());
        ASSERT_EQ(said.size(), row.said.size()) << out.str();
        for (std::size_t i = 0; i < said.size(); ++i) EXPECT_TRUE(said[i].starts_with(row.said[i])) << said[i];
    }
}

// The diff rules' own table is the chart core's; here, the command prints them.
TEST(CommandLine, DiffPrintsWhatReadersWillSeeChange) {
    std::ostringstream out;
    EXPECT_EQ(publisher::RunDiff(Data("diff/changes/old"), Data("diff/changes/new"), out), 1);
    EXPECT_EQ(out.str(), support::TestData("diff/changes/expected"));
}

}  // namespace
