// Servers that try to hang the update, fill the disk or confuse the worker:
// each must end in the failure message within the time limits, with the
// three files untouched and nothing left behind.
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

// Well inside the worker's own limits (15 s to connect, 30 s of silence);
// the tests run with shorter limits, so a hostile server that is stopped at
// all is stopped long before this.
constexpr auto kPromptly = 15s;

// Played for every path; kept as data files in tests/data/answers/hostile/.
using Hostile = ServerAnswer;
const std::vector<Hostile> kHostile = ServerAnswers("hostile");

const std::string kLargeOk = "HTTP/1.1 200 OK\r\nContent-Length: ";

class HostileServerTest : public ChartDirTest, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileServerTest, FailsPromptlyAndTouchesNothing) {
    const Hostile& h = GetParam();
    ScriptedServer server;
    for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"}) server.On(path, h.script);
    const bool endless = std::any_of(h.script.begin(), h.script.end(),
                                     [](const Step& s) { return s.kind == Step::Kind::Endless; });

    const auto start = Clock::now();
    Run(Settings(server.Base()));
    EXPECT_LT(Clock::now() - start, kPromptly);

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

INSTANTIATE_TEST_SUITE_P(Servers, HostileServerTest, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return std::string(info.param.name); });

// Servers that keep every single wait under the stall limit (one byte, or one
// header line, now and then) and so would hold the update for hours: the
// whole update's deadline ends it, counted across all three files.
struct Trickler {
    const char* name;
    Script script;                        // played for every path
    std::vector<std::string> endsWith;    // the worker's last port calls
};

void PrintTo(const Trickler& t, std::ostream* os) { *os << t.name; }

const std::string kSlowHead = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n";

// A status line, then a header line now and then, without end.
Script HeaderLinesNowAndThen() {
    Script script{Send("HTTP/1.1 200 OK\r\n")};
    for (int i = 0; i < 1000; ++i) {
        script.push_back(Pause(200ms));
        script.push_back(Send("X-Slow: " + std::to_string(i) + "\r\n"));
    }
    return script;
}

const Trickler kTricklers[] = {
    {"BodyByteByByte", {Send(kLargeOk + "1000\r\n\r\n"), Trickle(std::string(1000, 't'), 200ms)}, kFailedOnData},
    {"HeaderLineByHeaderLine", HeaderLinesNowAndThen(), kFailedOnData},
    // Each file alone is in time; the three together are not.
    {"EachFileInTimeButNotAllThree", {Send(kSlowHead), Trickle("http://p\n\n", 200ms)}, kFailedOnPolicy},
};

class TricklingServerTest : public ChartDirTest, public ::testing::WithParamInterface<Trickler> {};

TEST_P(TricklingServerTest, TheWholeUpdateEndsAtItsDeadline) {
    const Trickler& t = GetParam();
    ScriptedServer server;
    for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"}) server.On(path, t.script);
    auto settings = Settings(server.Base());
    settings.stallTimeout = 2s;  // ten times the pause between bytes
    settings.updateDeadline = 3s;

    const auto start = Clock::now();
    Run(settings);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, settings.updateDeadline);
    EXPECT_LT(took, kPromptly);
    EXPECT_EQ(port_.Calls(), t.endsWith);
    EXPECT_EQ(Message(), "The update failed: the data server did not answer in time.");
    ExpectUntouched();
    ExpectNoStagingFiles();
}

INSTANTIATE_TEST_SUITE_P(Servers, TricklingServerTest, ::testing::ValuesIn(kTricklers),
                         [](const auto& info) { return std::string(info.param.name); });

using WellFormedAnswerTest = ChartDirTest;

// Bytes past a body's Content-Length are not part of it: the file gets the
// announced bytes and no more. Whether the connection is then used again for
// the next file (where the excess reads as a garbled answer) depends on when
// the excess arrives, so the update either succeeds with exact files or fails
// with all three untouched; either way it ends promptly.
TEST_F(WellFormedAnswerTest, BytesBeyondTheContentLengthAreNotKept) {
    // Ten bytes that read as a data file, a policy file and a version file.
    const std::string chart = "1\n1\n1\nAB\n\n";
    ScriptedServer server;
    for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"})
        server.On(path, {Send(kLargeOk + "10\r\n\r\n" + chart), Endless(std::string(4096, 'b'))});
    const auto start = Clock::now();
    Run(Settings(server.Base()));
    EXPECT_LT(Clock::now() - start, kPromptly);
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
