// The chart folder's protocol between real processes: a copy cut at a step of
// its commit and killed, or a folder as older versions, damage or another user
// left it; a reader then shows one whole chart, never a mix, or says why not.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "driver_process.h"
#include "folder/chart_reader.h"
#include "support/scripted_server.h"
#include "support/update_fixture.h"
#include "support/wait_for.h"
#include "two_users.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Where the copy stops: just before the system call named, on the name.
enum class Cut { None, BeforeTheFirstRename, AfterData, AfterPolicy, AfterTheLastRename, AfterTheMarkerWent };
struct CutAt {
    const char* call;
    const char* name;
};
constexpr CutAt kCuts[] = {{"", ""},
                           {"rename", "data"},
                           {"rename", "policy"},
                           {"rename", "version"},
                           {"unlink", ".vantrel-update-commit"},
                           {"unlink", ".vantrel-update-data.old"}};

enum class Copy { SameUser, ChartsOwner };  // the dying copy: this user, or another who owns the chart
enum class Killed { BeforeTheRead, OnceTheReaderWaited };
// What else is in the folder, or holds it.
enum class Left { Nothing, EmptyMarker, NewDataMarker, SignaturesMarker, DamagedMarker, MembersMarkerAndLock,
                  MembersSharedHold };
enum class Shows { NewChart, OldChart, Message };

struct ProtocolRow {
    const char* name;
    Cut cut;
    Copy copy;
    Killed killed;
    Left left;
    Shows shows;
    // Waits for the dying copy until it is killed (saying why), then reads
    // at once; otherwise reads within `waits` (README's) of starting.
    bool waitsForTheCopy;
    std::chrono::milliseconds waits = 0ms;
    const char* message = "";  // a piece of what is told instead
};

void PrintTo(const ProtocolRow& row, std::ostream* os) { *os << row.name; }

// The reader's margin over the wait README states: the read itself, a
// recovery's flushes, under the sanitizers on two busy cores; far below the
// ten seconds and the minute a wrong wait would take.
constexpr auto kMargin = 3s;
constexpr auto kLockWait = 2000ms;

#define CUT_ROWS(cut, name)                                                                                          \
    ProtocolRow{"SameUser" name "Killed", cut, Copy::SameUser, Killed::BeforeTheRead, Left::Nothing, Shows::NewChart, \
                false},                                                                                              \
        ProtocolRow{"SameUser" name "HeldThenKilled", cut, Copy::SameUser, Killed::OnceTheReaderWaited,             \
                    Left::Nothing, Shows::NewChart, cut != Cut::AfterTheMarkerWent,                                  \
                    cut != Cut::AfterTheMarkerWent ? 0ms : kLockWait},                                               \
        ProtocolRow{"ChartsOwner" name "Killed", cut, Copy::ChartsOwner, Killed::BeforeTheRead, Left::Nothing,      \
                    Shows::NewChart, false},                                                                         \
        ProtocolRow{"ChartsOwner" name "HeldThenKilled", cut, Copy::ChartsOwner, Killed::OnceTheReaderWaited,       \
                    Left::Nothing, Shows::NewChart, cut != Cut::AfterTheMarkerWent,                                  \
                    cut != Cut::AfterTheMarkerWent ? 0ms : kLockWait}

const ProtocolRow kRows[] = {
    CUT_ROWS(Cut::BeforeTheFirstRename, "BeforeTheFirstRename"),
    CUT_ROWS(Cut::AfterData, "AfterData"),
    CUT_ROWS(Cut::AfterPolicy, "AfterPolicy"),
    CUT_ROWS(Cut::AfterTheLastRename, "AfterTheLastRename"),
    CUT_ROWS(Cut::AfterTheMarkerWent, "AfterTheMarkerWent"),
    // The markers the version before wrote whole: finished as it meant them.
    {"OlderEmptyMarker", Cut::None, Copy::SameUser, Killed::BeforeTheRead, Left::EmptyMarker, Shows::NewChart, false},
    {"OlderMarkerOfANewFile", Cut::None, Copy::SameUser, Killed::BeforeTheRead, Left::NewDataMarker, Shows::NewChart,
     false},
    {"OlderSignedMarker", Cut::None, Copy::SameUser, Killed::BeforeTheRead, Left::SignaturesMarker, Shows::NewChart,
     false},
    {"DamagedMarker", Cut::None, Copy::SameUser, Killed::BeforeTheRead, Left::DamagedMarker, Shows::Message, false,
     0ms, "The chart was not read: the record of an unfinished update, "},
    // Another user's marker and their hold on the update lock: nothing of the chart.
    {"MembersMarkerAndLock", Cut::None, Copy::SameUser, Killed::BeforeTheRead, Left::MembersMarkerAndLock,
     Shows::OldChart, false},
    // Another user sharing the folder's lock for good: a cut-off commit of
    // this user's is finished past the lock wait.
    {"MembersSharedHold", Cut::None, Copy::SameUser, Killed::BeforeTheRead, Left::MembersSharedHold,
     Shows::NewChart, false, kLockWait},
};

class FolderProtocolTest : public ChartDirTest, public ::testing::WithParamInterface<ProtocolRow> {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root to act as two users";
        }
        // A folder the chart's owner made for the team, that anyone may add to.
        std::filesystem::permissions(tempDir_.Dir(), std::filesystem::perms(0755));
        dir_ = tempDir_.Dir() / "chart";
        std::filesystem::create_directory(dir_);
        ChartDirTest::SetUp();
        const uid_t owner = GetParam().copy == Copy::ChartsOwner ? kOwner : 0;
        Give(dir_, owner, kTeam, 01777);
        for (const char* name : {"data", "policy", "version"}) Give(dir_ / name, owner, kTeam, 0644);
    }

    // The new chart staged, as a run leaves it before its commit.
    void StageNewChart(bool withSignatures) {
        for (const auto& [name, bytes] : {std::pair{"data", kChartData}, {"policy", kChartPolicy},
                                          {"version", kChartVersion}}) {
            WriteBytes(dir_ / (std::string(".vantrel-update-") + name + ".tmp"), bytes);
            if (withSignatures) WriteBytes(dir_ / (std::string(".vantrel-update-") + name + ".minisig.tmp"), "sig\n");
        }
    }

    // Starts the copy, and once it has stopped at its cut, gives its pid.
    pid_t StartCopyCutAt(const ProtocolRow& row, const std::string& base) {
        const CutAt& at = kCuts[static_cast<int>(row.cut)];
        const std::string stop = StopBefore(at.call, at.name);
        const std::string errors = (tempDir_.Dir() / "stderr").string();
        const pid_t pid = row.copy == Copy::SameUser
                              ? StartDriver(base, dir_.string(), errors, false, stop)
                              : StartDriverAs(kOwner, kTeam, base, dir_.string(), errors, {}, stop);
        int status = 0;
        const bool stopped = support::WaitFor([&] {
            const pid_t seen = ::waitpid(pid, &status, WNOHANG | WUNTRACED);
            return seen == pid;
        });
        EXPECT_TRUE(stopped && WIFSTOPPED(status)) << "the copy never reached its cut: " << ReadBytes(errors);
        return pid;
    }

    static void Kill(pid_t pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
};

// The copy is killed before the reader starts or once the reader has waited
// for it past the lock wait; the reader must finish within the waits README
// states, and an Update then goes on.
TEST_P(FolderProtocolTest, AReaderShowsOneWholeChartWithinItsWaits) {
    const ProtocolRow& row = GetParam();
    ScriptedServer server;
    ServeChart(server);

    std::optional<LockHeldAs> member;
    switch (row.left) {
    case Left::Nothing: break;
    case Left::EmptyMarker:
    case Left::NewDataMarker:
    case Left::SignaturesMarker:
    case Left::DamagedMarker:
        StageNewChart(row.left == Left::SignaturesMarker);
        WriteBytes(dir_ / ".vantrel-update-commit", row.left == Left::EmptyMarker     ? ""
                                                    : row.left == Left::NewDataMarker ? "data\n"
                                                    : row.left == Left::DamagedMarker ? "+signatures"
                                                                                       : "+signatures\n");
        break;
    case Left::MembersMarkerAndLock:
        WriteBytes(dir_ / ".vantrel-update-commit", "data\npolicy\nversion\n");
        Give(dir_ / ".vantrel-update-commit", kMember, kTeam, 0644);
        WriteBytes(dir_ / ".vantrel-update.lock", "");
        member.emplace(kMember, dir_ / ".vantrel-update.lock", LOCK_EX);
        break;
    case Left::MembersSharedHold:
        StageNewChart(false);
        WriteBytes(dir_ / ".vantrel-update-commit", "end\n");
        member.emplace(kMember, dir_, LOCK_SH);
        break;
    }
    ASSERT_TRUE(!member || member->Held());

    const pid_t copy = row.cut == Cut::None ? -1 : StartCopyCutAt(row, server.Base());
    if (HasFatalFailure()) return;
    if (copy > 0 && row.killed == Killed::BeforeTheRead) Kill(copy);

    std::atomic<bool> told{false}, done{false};
    folder::ChartRead read;
    Clock::time_point ended;
    const auto started = Clock::now();
    std::thread reader([&] {
        folder::ReaderWaits waits;
        waits.onCommitWait = [&] { told = true; };
        read = folder::ReadChartFolder(dir_.string(), waits);
        ended = Clock::now();
        done = true;
    });
    Clock::time_point killedAt = started;
    if (copy > 0 && row.killed == Killed::OnceTheReaderWaited) {
        // Held past the lock wait: until the reader says it waits for the
        // copy, or reads without it.
        EXPECT_TRUE(support::WaitFor([&] { return told || done; }, 30s));
        EXPECT_GE(Clock::now() - started, kLockWait);
        killedAt = Clock::now();
        Kill(copy);
    }
    reader.join();

    EXPECT_EQ(told, row.waitsForTheCopy);
    const auto ms = [](Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
    std::printf("read %lld ms after it began, %lld ms after the kill\n", static_cast<long long>(ms(ended - started)),
                static_cast<long long>(ms(ended - killedAt)));
    if (row.waitsForTheCopy) {
        EXPECT_GT(ended, killedAt) << "read while the copy was at work";
        EXPECT_LT(ended - killedAt, kMargin);
    } else {
        EXPECT_LT(ended - started, row.waits + kMargin);
    }
    switch (row.shows) {
    case Shows::NewChart:
    case Shows::OldChart: {
        ASSERT_EQ(read.outcome, folder::ChartRead::Outcome::Read) << read.message;
        const bool isNew = row.shows == Shows::NewChart;
        EXPECT_EQ(read.snapshot->Bytes("data"), isNew ? kChartData : kOldData);
        EXPECT_EQ(read.snapshot->Bytes("policy"), isNew ? kChartPolicy : kOldPolicy);
        EXPECT_EQ(read.snapshot->Bytes("version"), isNew ? kChartVersion : kOldVersion);
        break;
    }
    case Shows::Message:
        EXPECT_EQ(read.outcome, folder::ChartRead::Outcome::NotRead);
        EXPECT_NE(read.message.find(row.message), std::string::npos) << read.message;
        return;
    }

    // The chart's owner updates afterwards: nothing left stops it.
    if (row.copy == Copy::SameUser) {
        const std::string errors = (tempDir_.Dir() / "update-stderr").string();
        EXPECT_EQ(WaitDriver(StartDriver(server.Base(), dir_.string(), errors)), 0) << ReadBytes(errors);
        EXPECT_EQ(ReadBytes(dir_ / "data"), kChartData);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderProtocolTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
