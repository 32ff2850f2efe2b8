// An update killed at any moment (SIGKILL) leaves, once the next start has
// finished what it left, the three files all as they were or all new, on an
// ordinary disk and on FAT.
#include <gtest/gtest.h>

#include <signal.h>
#include <functional>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

#include "driver_process.h"
#include "support/fat_folder.h"
#include "support/scripted_server.h"
#include "support/update_fixture.h"
#include "support/wait_for.h"
#include "folder/chart_commit.h"
#include "folder/startup_recovery.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;

// Kills after each commit step seen, on top of the one at each hold point.
constexpr int kKillsPerCommitStep = 15;

// New files clearly unlike the old ones (longer, other bytes), served in
// small pieces so that a kill can land in any phase of the run.
std::string NewFile(char fill, std::size_t size) {
    std::string s(size, fill);
    for (std::size_t i = 64; i < size; i += 64) s[i] = '\n';
    return s;
}
const std::string kNewData = NewFile('d', 12000);
const std::string kNewPolicy = NewFile('p', 3000) + "\n\n";  // one long test, ended
const std::string kNewVersion = "10\r\n10\r\n# new\r\n";

// The answer's sends: the head, then the body in pieces.
std::vector<std::string> Pieces(const std::string& body, std::size_t pieces) {
    std::vector<std::string> sends{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n"};
    const std::size_t step = (body.size() + pieces - 1) / pieces;
    for (std::size_t at = 0; at < body.size(); at += step) sends.push_back(body.substr(at, step));
    return sends;
}

struct Served {
    const char* path;
    std::vector<std::string> sends;
};
const Served kServed[] = {{"/data.dat", Pieces(kNewData, 6)},
                          {"/policy.dat", Pieces(kNewPolicy, 3)},
                          {"/version.dat", Pieces(kNewVersion, 2)}};

// Where the server stops until the run is killed: before send `send` of the
// answer to `path`. The run cannot end before it, so the kill lands.
struct HoldPoint {
    const char* path;
    std::size_t send;
};

// Fat: a FAT image through fusefat. FatRules: an ordinary disk with FAT's
// rules through FUSE (a rename never replaces, no hard links), which
// Debian 12's fusefat does not keep: the same kills on every system.
enum class Disk { Ordinary, Fat, FatRules };

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

    // Serves the new chart, holding at hold (if any); returns the bytes sent
    // before the hold.
    std::uint64_t Serve(ScriptedServer& server, const HoldPoint* hold = nullptr) {
        std::uint64_t before = 0;
        bool held = false;
        for (const Served& served : kServed) {
            Script script;
            for (std::size_t i = 0; i < served.sends.size(); ++i) {
                if (hold && std::string_view(hold->path) == served.path && hold->send == i) {
                    script.push_back(Hold());
                    held = true;
                }
                script.push_back(Send(served.sends[i]));
                if (!held) before += served.sends[i].size();
            }
            server.On(served.path, script);
        }
        return before;
    }

    // Kills the run, then checks what the next start makes of the folder.
    // True when the kill ended the run (rather than the run ending first).
    bool KillAndCheck(pid_t pid, const std::string& moment) {
        ::kill(pid, SIGKILL);
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        const bool commitPending = folder::CommitPending(folder::WorkFiles(dir_.string()));
        if (commitPending) ++rolledForward_;

        // What the program does when it next starts, before it reads the chart.
        const auto unfinished = [&] {
            const support::FatRulesDuring rules(GetParam() == Disk::FatRules);
            return RecoveryMessage(dir_);
        }();
        EXPECT_FALSE(unfinished) << moment << ": " << *unfinished;
        const std::string states[] = {StateOf("data", kOldData, kNewData),
                                      StateOf("policy", kOldPolicy, kNewPolicy),
                                      StateOf("version", kOldVersion, kNewVersion)};
        const bool consistent = states[0] == states[1] && states[1] == states[2];
        EXPECT_TRUE(consistent && (states[0] == "old" || states[0] == "new"))
            << moment << ": data " << states[0] << ", policy " << states[1] << ", version " << states[2];
        ExpectNoStagingFiles();
        return WIFSIGNALED(status);
    }

    pid_t StartDriver(const std::string& base) {
        return update_test::StartDriver(base, dir_.string(), {}, GetParam() == Disk::FatRules);
    }
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
    int rolledForward_ = 0;
};

// True once the process has ended (it stays to be reaped).
bool Ended(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

TEST_P(CrashSafetyTest, KilledUpdatesLeaveTheOldChartOrTheNewOne) {
    // While it downloads: the server holds before each of its sends in turn,
    // and the run is killed once all the bytes before the hold have gone out
    // (or, for the first, as soon as it starts). Each of these kills lands.
    std::vector<HoldPoint> holds;
    for (const Served& served : kServed)
        for (std::size_t send = 0; send < served.sends.size(); ++send) holds.push_back({served.path, send});
    for (std::size_t i = 0; i <= holds.size(); ++i) {
        const bool atStart = i == holds.size();
        const std::string moment = atStart ? "at its start" : std::string("holding ") + holds[i].path + " before send " +
                                                                  std::to_string(holds[i].send);
        SCOPED_TRACE(moment);
        WriteOldChart();  // staging files of the last kill stay, as after a real crash
        ScriptedServer server;
        const std::uint64_t before = Serve(server, atStart ? nullptr : &holds[i]);
        const pid_t pid = StartDriver(server.Base());
        ASSERT_GT(pid, 0);
        if (!atStart) {
            ASSERT_TRUE(server.WaitForRequest(holds[i].path, 20s));
            ASSERT_TRUE(support::WaitFor([&] { return server.BytesSent() >= before; }));
        }
        EXPECT_TRUE(KillAndCheck(pid, moment)) << "the run ended before the kill";
        if (HasFatalFailure()) return;
    }

    // While it puts the files in place: killed as soon as each step of the
    // commit is seen (a run that ends first is checked all the same).
    const std::pair<const char*, std::function<bool()>> commitSteps[] = {
        {"the marker is being written",
         [&] { return std::filesystem::exists(dir_ / ".vantrel-update-commit.new"); }},
        {"the commit has begun", [&] { return folder::CommitPending(folder::WorkFiles(dir_.string())); }},
        {"data is new", [&] { return StateOf("data", kOldData, kNewData) == "new"; }},
        {"policy is new", [&] { return StateOf("policy", kOldPolicy, kNewPolicy) == "new"; }},
        {"version is new", [&] { return StateOf("version", kOldVersion, kNewVersion) == "new"; }},
    };
    int killedInCommit = 0;
    for (const auto& [step, seen] : commitSteps) {
        for (int i = 0; i < kKillsPerCommitStep; ++i) {
            const std::string moment = std::string("once ") + step + ", run " + std::to_string(i);
            SCOPED_TRACE(moment);
            WriteOldChart();
            ScriptedServer server;
            Serve(server);
            const pid_t pid = StartDriver(server.Base());
            ASSERT_GT(pid, 0);
            ASSERT_TRUE(support::WaitFor([&, &seen = seen] { return seen() || Ended(pid); }));
            killedInCommit += KillAndCheck(pid, moment);
            if (HasFatalFailure()) return;
        }
    }
    std::printf("%zu kills while downloading; %d of %d while the files were put in place (%d rolled forward)\n",
                holds.size() + 1, killedInCommit, static_cast<int>(std::size(commitSteps)) * kKillsPerCommitStep,
                rolledForward_);

    // One more update, undisturbed: the new chart, and nothing left behind.
    WriteOldChart();
    ScriptedServer server;
    Serve(server);
    ASSERT_EQ(RunDriver(server.Base()), 0);
    EXPECT_EQ(ReadBytes(dir_ / "data"), kNewData);
    EXPECT_EQ(ReadBytes(dir_ / "policy"), kNewPolicy);
    EXPECT_EQ(ReadBytes(dir_ / "version"), kNewVersion);
    ExpectNoStagingFiles();
}

std::string DiskName(Disk disk) {
    return disk == Disk::Ordinary ? "Ordinary" : disk == Disk::Fat ? "Fat" : "FatRules";
}

INSTANTIATE_TEST_SUITE_P(Disks, CrashSafetyTest, ::testing::Values(Disk::Ordinary, Disk::Fat, Disk::FatRules),
                         [](const auto& info) { return DiskName(info.param); });

}  // namespace
}  // namespace update_test
