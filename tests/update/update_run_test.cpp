// Whole update runs: the order of the window's calls, the files put in place
// only when all three have arrived, failures that leave the chart as it was,
// cancelling, leftovers from a killed run, and the holder of the worker.
#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/stat.h>

#include "support/scripted_server.h"
#include "update/update_thread.h"
#include "support/child_process.h"
#include "support/update_fixture.h"
#include "folder/update_lock.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;

template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

class UpdateRunTest : public ChartDirTest {
protected:
    void ServeNewChart(const std::string& version = "10\r\n10\r\n") {
        server_.On("/data.dat", {Send(Ok(kData))});
        server_.On("/policy.dat", {Send(Ok(kPolicy))});
        server_.On("/version.dat", {Send(Ok(version))});
    }
    void ExpectNewChart(const std::string& version = "10\r\n10\r\n") const {
        EXPECT_EQ(ReadBytes(dir_ / "data"), kData);
        EXPECT_EQ(ReadBytes(dir_ / "policy"), kPolicy);
        EXPECT_EQ(ReadBytes(dir_ / "version"), version);
    }

    // Bytes a text-mode write or a C string would lose: CR, NUL, Ctrl-Z.
    const std::string kData = Bytes("http://p.example/\r\nProgram\r\n\0\r\nA 5\r\n\r\n\x1a\r5\r\n");
    const std::string kPolicy = Bytes("Security\r\nHidden\r\n\r\n\x1a\0end");
    ScriptedServer server_;
};

TEST_F(UpdateRunTest, SuccessReplacesAllThreeFilesBeforeReloading) {
    ServeNewChart();
    std::string dataAtReload;
    port_.onReadAll = [&] { dataAtReload = ReadBytes(dir_ / "data"); };
    const mode_t umask = ::umask(0);  // the chart is never left writable by others, whatever the umask
    Run(Settings(server_.Base() + "/"));  // a trailing slash on the base is harmless
    ::umask(umask);
    EXPECT_EQ(std::filesystem::status(dir_ / "data").permissions(), std::filesystem::perms(0644));

    EXPECT_EQ(port_.Calls(), kSucceeded);
    EXPECT_TRUE(port_.Messages().empty());
    EXPECT_EQ(server_.RequestedPaths(),
              (std::vector<std::string>{"/data.dat", "/policy.dat", "/version.dat"}));
    ExpectNewChart();
    EXPECT_EQ(dataAtReload, kData);
    ExpectNoStagingFiles();
}

TEST_F(UpdateRunTest, RedirectOnPolicyLeavesAllThreeFilesAsTheyWere) {
    ServeNewChart();
    server_.On("/policy.dat", {Send("HTTP/1.1 302 Found\r\nLocation: http://mirror.example/policy.dat\r\n"
                                    "Content-Length: 0\r\n\r\n")});
    Run(Settings(server_.Base()));
    EXPECT_EQ(port_.Calls(), kFailedOnPolicy);
    EXPECT_EQ(Message(), "The update failed: the data server answered with HTTP status 302 for /policy.dat. "
                         "It was a redirect to http://mirror.example/policy.dat, which an update does not follow.");
    ExpectUntouched();
    ExpectNoStagingFiles();
}

TEST_F(UpdateRunTest, UnreachableServerFailsWithTheReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://127.0.0.1:" + std::to_string(ClosedPort()),
         "The update failed: the data server refused the connection."},
        {"http://nonexistent.invalid",
         "The update failed: the data server's host \"nonexistent.invalid\" was not found."},
    };
    for (const auto& [base, message] : cases) {
        SCOPED_TRACE(base);
        RecordingPort port;
        update::Tmt worker(port, Settings(base));
        ASSERT_TRUE(port.WaitFinished());
        EXPECT_EQ(port.Calls(), kFailedOnData);
        EXPECT_EQ(port.Messages(), std::vector<std::string>{message});
        ExpectUntouched();
        ExpectNoStagingFiles();
    }
}

TEST_F(UpdateRunTest, UnwritableStagingFileFailsWithThePath) {
    ServeNewChart();
    const auto blocker = dir_ / ".vantrel-update-data.tmp";
    std::filesystem::create_directory(blocker);
    WriteBytes(blocker / "keep", "x");  // a non-empty directory cannot be cleared away
    Run(Settings(server_.Base()));
    EXPECT_EQ(port_.Calls(), kFailedOnData);
    EXPECT_EQ(Message(), "The update failed: the chart folder " + dir_.string() +
                             " holds \".vantrel-update-data.tmp\", which is not Vantrel's own and cannot be removed.");
    ExpectUntouched();
}

// Another user's folder, readable only: the user is told that, not a lock
// file's missing name.
TEST_F(UpdateRunTest, AFolderTheUserCannotWriteToIsToldAsSuch) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    std::filesystem::permissions(dir_, std::filesystem::perms(0755));
    const std::string expected =
        "The update failed: the chart folder " + dir_.string() + " cannot be written to (Permission denied).";
    const auto outcome = support::RunInChild(
        [&] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 3;
            const folder::UpdateLock lock(folder::WorkFiles(dir_.string()));
            return lock.Why() && update::FailureMessage(update::FromFolder(*lock.Why())) == expected ? 0 : 1;
        },
        std::chrono::seconds(10));
    EXPECT_TRUE(outcome.finished && outcome.exitCode == 0) << outcome.Describe();
}

TEST_F(UpdateRunTest, LeftoversOfAKilledRunAreRemovedByTheNextUpdate) {
    for (const char* name : {"data", "policy", "version"}) {
        WriteBytes(dir_ / (std::string(".vantrel-update-") + name + ".tmp"), "half a download");
    }
    server_.On("/data.dat", {Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")});
    Run(Settings(server_.Base()));
    EXPECT_EQ(port_.Calls(), kFailedOnData);
    ExpectUntouched();
    ExpectNoStagingFiles();
}

TEST_F(UpdateRunTest, CancelEndsARunPromptlyAndTouchesNothing) {
    ServeNewChart();
    server_.On("/policy.dat", {Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nsome"), Hang()});
    auto settings = Settings(server_.Base());
    settings.stallTimeout = 1h;  // only the cancel can end the wait in the hanging answer
    settings.updateDeadline = 1h;
    auto worker = std::make_unique<update::Tmt>(port_, settings);
    ASSERT_TRUE(server_.WaitForRequest("/policy.dat", 5s));

    EXPECT_TRUE(update::UpdateThread::Leave(std::move(worker), 20s)) << "the cancelled run went on";

    const auto calls = port_.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "failed"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ReadAll"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "finished"), 0);
    ExpectUntouched();
    ExpectNoStagingFiles();
}

TEST_F(UpdateRunTest, HolderIgnoresASecondStartWhileARunIsGoing) {
    ServeNewChart();
    server_.On("/data.dat", {Pause(300ms), Send(Ok(kData))});
    update::UpdateThread holder(Settings(server_.Base()));
    EXPECT_FALSE(holder.Running());
    ASSERT_TRUE(holder.Start(port_));
    EXPECT_TRUE(holder.Running());
    EXPECT_FALSE(holder.Start(port_));
    ASSERT_TRUE(port_.WaitFinished());
    EXPECT_EQ(port_.Calls(), kSucceeded);

    // Once finished, the next Update starts a fresh worker; closing cancels it.
    RecordingPort second;
    server_.On("/data.dat", {Hang()});
    ASSERT_TRUE(holder.Start(second));
    ASSERT_TRUE(server_.WaitForRequest("/data.dat", 5s, 2));
    EXPECT_TRUE(holder.Cancel()) << "the run was left behind";
    EXPECT_FALSE(holder.Running());
    ExpectNewChart();
    ExpectNoStagingFiles();
}

}  // namespace
}  // namespace update_test
