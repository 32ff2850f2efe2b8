// How the answer to one GET decides an update: every kind of server answer to
// /data.dat, with the other two files served normally.
#include <gtest/gtest.h>

#include <cstdio>

#include "scripted_server.h"
#include "update_fixture.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;

struct Outcome {
    const char* name;
    Script script;
    bool succeeds;
    std::string expected;  // the new data file, or a piece of the failure message
    std::uint64_t cap = update::kBodyCap;
};

void PrintTo(const Outcome& o, std::ostream* os) { *os << o.name; }

std::string Chunked(const std::string& body) {
    char size[32];
    std::snprintf(size, sizeof size, "%zx", body.size());
    return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + std::string(size) + "\r\n" +
           body + "\r\n0\r\n\r\n";
}

std::string Status(int code, const std::string& reason, const std::string& headers = "") {
    return "HTTP/1.1 " + std::to_string(code) + " " + reason + "\r\n" + headers +
           "Content-Length: 4\r\n\r\nbody";
}

const std::string kNewData = "Program\r\nhttp://program.example/\r\n";

Outcome Refused(const char* name, int code, const std::string& reason) {
    return {name, {Send(Status(code, reason, code / 100 == 3 ? "Location: http://mirror.example/data.dat\r\n" : ""))},
            false, "answered with HTTP status " + std::to_string(code) + " for /data.dat."};
}

const Outcome kOutcomes[] = {
    {"BodyWithLength", {Send(Ok(kNewData))}, true, kNewData},
    {"EmptyBody", {Send(Ok(""))}, true, ""},
    {"NoContent", {Send("HTTP/1.1 204 No Content\r\n\r\n")}, true, ""},
    {"InterimContinueSkipped", {Send("HTTP/1.1 100 Continue\r\n\r\n"), Pause(50ms), Send(Ok(kNewData))}, true, kNewData},
    {"ChunkedBody", {Send(Chunked(kNewData))}, true, kNewData},
    {"BodyEndedByClose", {Send("HTTP/1.1 200 OK\r\n\r\n" + kNewData), Close()}, true, kNewData},

    {"OkWithLocation", {Send(Status(200, "OK", "Location: http://mirror.example/data.dat\r\n"))}, false,
     "answered /data.dat with HTTP status 200 and a redirection."},
    Refused("MovedPermanently", 301, "Moved Permanently"),
    Refused("Found", 302, "Found"),
    Refused("NotModified", 304, "Not Modified"),
    Refused("Unauthorized", 401, "Unauthorized"),
    Refused("NotFound", 404, "Not Found"),
    Refused("ProxyAuthRequired", 407, "Proxy Authentication Required"),
    Refused("ServerError", 500, "Internal Server Error"),
    {"SwitchingProtocols", {Send("HTTP/1.1 101 Switching Protocols\r\nUpgrade: other\r\nConnection: Upgrade\r\n\r\nbody"), Close()},
     false, "answered with HTTP status 101 for /data.dat."},
    {"CodeNotANumber", {Send(Status(200, "OK").replace(9, 3, "2x0")), Close()}, false,
     "answer for /data.dat was not understood."},

    {"ShorterThanLength", {Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort"), Close()}, false,
     "the transfer of /data.dat was cut short."},
    {"ChunkedCutShort", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc"), Close()}, false,
     "the transfer of /data.dat was cut short."},
    {"ClosedBeforeAnswer", {Close()}, false, "closed the connection without answering."},
    {"ResetBeforeAnswer", {Reset()}, false, "the connection to the data server was broken off."},
    {"NeverAnswers", {Hang()}, false, "the data server did not answer in time."},
    {"TricklesSlowerThanStallLimit",
     {Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n"), Trickle("body", 700ms)}, false,
     "the data server did not answer in time."},

    {"AnnouncedLengthOverCap", {Send("HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\nbody"), Close()}, false,
     "the download of /data.dat was larger than 16 MiB."},
    {"ChunkedBodyOverCap", {Send(Chunked(std::string(3000, 'x')))}, false,
     "the download of /data.dat was larger than 2048 bytes.", 2048},
    {"BodyExactlyAtCap", {Send(Chunked(std::string(2048, 'x')))}, true, std::string(2048, 'x'), 2048},
};

class UpdateOutcomeTest : public ChartDirTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(UpdateOutcomeTest, DataAnswerDecidesTheWholeUpdate) {
    const Outcome& o = GetParam();
    ScriptedServer server;
    server.On("/data.dat", o.script);
    server.On("/policy.dat", {Send(Ok("New policy\r\n"))});
    server.On("/version.dat", {Send(Ok("10\r\n10\r\n"))});
    auto settings = Settings(server.Base());
    settings.bodyCap = o.cap;
    Run(settings);

    if (o.succeeds) {
        EXPECT_EQ(port_.Calls(), kSucceeded);
        EXPECT_TRUE(port_.Messages().empty());
        EXPECT_EQ(ReadBytes(dir_ / "data"), o.expected);
        EXPECT_EQ(ReadBytes(dir_ / "policy"), "New policy\r\n");
        EXPECT_EQ(ReadBytes(dir_ / "version"), "10\r\n10\r\n");
    } else {
        EXPECT_EQ(port_.Calls(), kFailedOnData);
        EXPECT_NE(Message().find(o.expected), std::string::npos) << Message();
        EXPECT_EQ(Message().rfind("The update failed: ", 0), 0u);
        ExpectUntouched();
        const auto paths = server.RequestedPaths();
        EXPECT_EQ(std::count(paths.begin(), paths.end(), "/policy.dat"), 0);
    }
    ExpectNoStagingFiles();
}

INSTANTIATE_TEST_SUITE_P(Answers, UpdateOutcomeTest, ::testing::ValuesIn(kOutcomes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
