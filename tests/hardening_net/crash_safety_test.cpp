// An update killed at any moment (SIGKILL: no clean-up of its own) leaves,
// once the next start has finished what it left, "data", "policy" and
// "version" all as they were or all new: never one file half written, never
// a chart of old and new files, nothing missing and nothing left behind. The
// same on an ordinary disk and on FAT (a USB stick: no hard links).
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <random>

#include "driver_process.h"
#include "support/fat_folder.h"
#include "support/scripted_server.h"
#include "update/folder/chart_commit.h"
#include "update/folder/startup_recovery.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 120;

// New files clearly unlike the old ones (longer, other bytes), served in
// small pieces with pauses so that a kill can land in any phase of the run.
std::string NewFile(char fill, std::size_t size) {
    std::string s(size, fill);
    for (std::size_t i = 64; i < size; i += 64) s[i] = '\n';
    return s;
}
const std::string kNewData = NewFile('d', 12000);
const std::string kNewPolicy = NewFile('p', 3000) + "\n\n";  // one long test, ended
const std::string kNewVersion = "10\r\n10\r\n# new\r\n";

Script Slowly(const std::string& body, std::size_t pieces) {
    Script script{Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n")};
    const std::size_t step = (body.size() + pieces - 1) / pieces;
    for (std::size_t at = 0; at < body.size(); at += step) {
        script.push_back(Pause(3ms));
        script.push_back(Send(body.substr(at, step)));
    }
    return script;
}

enum class Disk { Ordinary, Fat };

class CrashSafetyTest : public ChartDirTest, public ::testing::WithParamInterface<Disk> {
protected:
    void SetUp() override {
        if (GetParam() == Disk::Fat) {
            fat_ = std::make_unique<support::FatFolder>();
            if (!fat_->Mounted()) {
                GTEST_SKIP() << fat_->Why();
            }
            dir_ = fat_->Dir();
        }
        ChartDirTest::SetUp();
    }
    void TearDown() override { fat_.reset(); }

    void ServeSlowly(ScriptedServer& server) {
        server.On("/data.dat", Slowly(kNewData, 6));
        server.On("/policy.dat", Slowly(kNewPolicy, 3));
        server.On("/version.dat", Slowly(kNewVersion, 2));
    }

    pid_t StartDriver(const std::string& base) { return update_test::StartDriver(base, dir_.string()); }
    int RunDriver(const std::string& base) { return WaitDriver(StartDriver(base)); }

    // Written as new files: fusefat can lose its way in a file cut short in place.
    void WriteOldChart() {
        for (const char* name : {"data", "policy", "version"}) std::filesystem::remove(dir_ / name);
        WriteBytes(dir_ / "data", kOldData);
        WriteBytes(dir_ / "policy", kOldPolicy);
        WriteBytes(dir_ / "version", kOldVersion);
    }

    // "old", "new", or what is wrong with the file.
    std::string StateOf(const char* name, const std::string& oldBytes, const std::string& newBytes) {
        const auto path = dir_ / name;
        if (!std::filesystem::is_regular_file(path)) return "missing";
        const std::string bytes = ReadBytes(path);
        if (bytes == oldBytes) return "old";
        if (bytes == newBytes) return "new";
        return "mixed (" + std::to_string(bytes.size()) + " bytes)";
    }

    std::unique_ptr<support::FatFolder> fat_;
};

TEST_P(CrashSafetyTest, KilledUpdatesLeaveTheOldChartOrTheNewOne) {
    // How long an undisturbed run takes here, so the kills spread over all of it.
    Clock::duration longest{};
    for (int i = 0; i < 3; ++i) {
        WriteOldChart();
        ScriptedServer server;
        ServeSlowly(server);
        const auto start = Clock::now();
        ASSERT_EQ(RunDriver(server.Base()), 0);
        longest = std::max(longest, Clock::now() - start);
    }
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(longest * 5 / 4);

    std::mt19937 random(20240611);  // fixed: a failure can be replayed
    std::uniform_int_distribution<long> moment(0, span.count());
    int killed = 0;
    int rolledForward = 0;
    for (int i = 0; i < kKills; ++i) {
        WriteOldChart();  // staging files of the last kill stay, as after a real crash
        ScriptedServer server;
        ServeSlowly(server);
        const pid_t pid = StartDriver(server.Base());
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        if (WIFSIGNALED(status)) ++killed;
        const bool commitPending = update::CommitPending(dir_.string());

        // What the program does when it next starts, before it reads the chart.
        const auto unfinished = RecoveryMessage(dir_);
        ASSERT_FALSE(unfinished) << "kill " << i << ": " << *unfinished;
        const std::string states[] = {StateOf("data", kOldData, kNewData),
                                      StateOf("policy", kOldPolicy, kNewPolicy),
                                      StateOf("version", kOldVersion, kNewVersion)};
        const bool consistent = states[0] == states[1] && states[1] == states[2];
        ASSERT_TRUE(consistent && (states[0] == "old" || states[0] == "new"))
            << "kill " << i << ": data " << states[0] << ", policy " << states[1]
            << ", version " << states[2];
        ExpectNoStagingFiles();
        if (commitPending) ++rolledForward;
    }
    std::printf("%d of %d runs killed before they ended; %d killed while the files were put in place\n",
                killed, kKills, rolledForward);
    EXPECT_GE(killed, kKills / 2) << "the kills should mostly land inside a run";

    // One more update, undisturbed: the new chart, and nothing left behind.
    WriteOldChart();
    ScriptedServer server;
    ServeSlowly(server);
    ASSERT_EQ(RunDriver(server.Base()), 0);
    EXPECT_EQ(ReadBytes(dir_ / "data"), kNewData);
    EXPECT_EQ(ReadBytes(dir_ / "policy"), kNewPolicy);
    EXPECT_EQ(ReadBytes(dir_ / "version"), kNewVersion);
    ExpectNoStagingFiles();
}

INSTANTIATE_TEST_SUITE_P(Disks, CrashSafetyTest, ::testing::Values(Disk::Ordinary, Disk::Fat),
                         [](const auto& info) { return info.param == Disk::Fat ? "Fat" : "Ordinary"; });

}  // namespace
}  // namespace update_test
