// Servers that try to hang the update, fill the disk or confuse the worker: each
// ends in the failure message within the time limits, the files untouched.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/scripted_server.h"
#include "support/server_answer.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using Clock = std::chrono::steady_clock;

// Played for every path; kept as data files in tests/data/answers/hostile/.
using Hostile = ServerAnswer;

const std::string kLargeOk = "HTTP/1.1 200 OK\r\nContent-Length: ";

class HostileServerTest : public ChartDirTest, public ::testing::WithParamInterface<Hostile> {};

// The tests run with limits far shorter than the time they wait for the end.
TEST_P(HostileServerTest, FailsPromptlyAndTouchesNothing) {
    const Hostile& h = GetParam();
    ASSERT_EQ(h.unreadable, "");
    ScriptedServer server;
    for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"}) server.On(path, h.script);
    const bool endless = std::any_of(h.script.begin(), h.script.end(),
                                     [](const Step& s) { return s.kind == Step::Kind::Endless; });

    Run(Settings(server.Base()));

    EXPECT_EQ(port_.Calls(), kFailedOnData);
    EXPECT_NE(Message().find(h.message), std::string::npos) << Message();
    EXPECT_EQ(Message().rfind("The update failed: ", 0), 0u) << Message();
    ExpectUntouched();
    ExpectNoStagingFiles();
    if (endless) {
        // The worker hung up: the server did not get to send much past the caps.
        EXPECT_LT(server.BytesSent(), 64u * 1024u * 1024u);
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileServerTest, ::testing::ValuesIn(ServerAnswers("hostile")),
                         [](const auto& info) { return std::string(info.param.name); });

// Servers that keep every single wait under the stall limit (one byte, or one
// header line, now and then) and so would hold the update for hours: the
// whole update's deadline ends it, counted across all three files. Played for
// every path; kept as data files in tests/data/answers/trickle/.
using Trickler = ServerAnswer;

class TricklingServerTest : public ChartDirTest, public ::testing::WithParamInterface<Trickler> {};

TEST_P(TricklingServerTest, TheWholeUpdateEndsAtItsDeadline) {
    const Trickler& t = GetParam();
    ASSERT_EQ(t.unreadable, "");
    ScriptedServer server;
    for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"}) server.On(path, t.script);
    auto settings = Settings(server.Base());
    settings.stallTimeout = 2s;  // ten times the pause between bytes
    settings.updateDeadline = 3s;

    const auto start = Clock::now();
    Run(settings);
    EXPECT_GE(Clock::now() - start, settings.updateDeadline);
    EXPECT_EQ(port_.Calls(), t.ends == "fails-on-policy" ? kFailedOnPolicy : kFailedOnData);
    EXPECT_EQ(Message(), "The update failed: the data server did not answer in time.");
    ExpectUntouched();
    ExpectNoStagingFiles();
}

INSTANTIATE_TEST_SUITE_P(Servers, TricklingServerTest, ::testing::ValuesIn(ServerAnswers("trickle")),
                         [](const auto& info) { return std::string(info.param.name); });

using WellFormedAnswerTest = ChartDirTest;

// Bytes past a body's Content-Length are not part of it: the file gets the
// announced bytes and no more. Whether the connection is then used again for
// the next file (where the excess reads as a garbled answer) depends on when
// the excess arrives, so the update either succeeds with exact files or fails
// with all three untouched.
TEST_F(WellFormedAnswerTest, BytesBeyondTheContentLengthAreNotKept) {
    // Ten bytes that read as a data file, a policy file and a version file.
    const std::string chart = "1\n1\n1\nAB\n\n";
    ScriptedServer server;
    for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"})
        server.On(path, {Send(kLargeOk + "10\r\n\r\n" + chart), Endless(std::string(4096, 'b'))});
    Run(Settings(server.Base()));
    if (port_.Messages().empty()) {
        EXPECT_EQ(port_.Calls(), kSucceeded);
        for (const char* name : {"data", "policy", "version"}) {
            EXPECT_EQ(ReadBytes(dir_ / name), chart) << name;
        }
    } else {
        EXPECT_EQ(Message().rfind("The update failed: ", 0), 0u) << Message();
        ExpectUntouched();
    }
    ExpectNoStagingFiles();
}

// Every byte of every answer in a write of its own, over the three ways a
// body's end is known (length, chunks, close): the files are exact.
TEST_F(WellFormedAnswerTest, AnswersInOneByteWritesArriveExact) {
    const std::string data = "http://p.example/\r\nProgram\r\n\0\r\nA 5\r\n\x1a\r\n"s;
    const std::string policy = "Security\r\n\r\n\x1a\0end"s;
    const std::string version = "10\r\n10\r\n";
    ScriptedServer server;
    server.On("/data.dat", {Trickle(Ok(data), 1ms)});
    server.On("/policy.dat", {Trickle("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                      "5\r\n" + policy.substr(0, 5) + "\r\n"
                                      "c\r\n" + policy.substr(5) + "\r\n0\r\n\r\n", 1ms)});
    server.On("/version.dat", {Trickle("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + version, 1ms),
                               Close()});
    Run(Settings(server.Base()));
    EXPECT_EQ(port_.Calls(), kSucceeded);
    EXPECT_TRUE(port_.Messages().empty()) << Message();
    EXPECT_EQ(ReadBytes(dir_ / "data"), data);
    EXPECT_EQ(ReadBytes(dir_ / "policy"), policy);
    EXPECT_EQ(ReadBytes(dir_ / "version"), version);
    ExpectNoStagingFiles();
}

}  // namespace
}  // namespace update_test
