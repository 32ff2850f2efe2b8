// How the answer to one GET decides an update: every kind of server answer to
// /data.dat (or to another path, or to all three), with the other files
// served normally. Only a chart replaces a chart: answers that are web pages,
// compressed, partial or empty leave the old chart exactly as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "support/scripted_server.h"
#include "support/test_data.h"
#include "update_fixture.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;

// Where an update ends.
enum class Ends {
    NewChart,             // all three files replaced
    FailsOnData,          // refused as /data.dat arrives; nothing more is fetched
    FailsAfterDownloads,  // all three fetched, then refused before the commit
};

struct Outcome {
    const char* name;
    Script script;
    Ends ends;
    std::string expected;  // the new file at path, or a piece of the failure message
    std::uint64_t cap = update::kBodyCap;
    const char* path = "/data.dat";  // "*": every path gets the script
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

const std::string kNewData = "http://program.example/\r\nProgram\r\n10\r\nA B C D E F 9\r\n";
const std::string kNewPolicy = TestData("charts/small/policy");
const std::string kNewVersion = TestData("charts/small/version");
const std::string kNoChart = "the data server did not send a chart.";

// A data file of exactly size bytes: one record, then a line that is ignored.
std::string DataOfSize(std::size_t size) { return kNewData + std::string(size - kNewData.size(), 'x'); }

// A body kept as a file with the tests' data.
std::string Body(const char* name) { return TestData(std::string("bodies/") + name); }

Outcome Refused(const char* name, int code, const std::string& reason) {
    return {name, {Send(Status(code, reason, code / 100 == 3 ? "Location: http://mirror.example/data.dat\r\n" : ""))},
            Ends::FailsOnData, "answered with HTTP status " + std::to_string(code) + " for /data.dat."};
}

const Outcome kOutcomes[] = {
    {"BodyWithLength", {Send(Ok(kNewData))}, Ends::NewChart, kNewData},
    {"InterimContinueSkipped", {Send("HTTP/1.1 100 Continue\r\n\r\n"), Pause(50ms), Send(Ok(kNewData))}, Ends::NewChart, kNewData},
    {"ChunkedBody", {Send(Chunked(kNewData))}, Ends::NewChart, kNewData},
    {"BodyEndedByClose", {Send("HTTP/1.1 200 OK\r\n\r\n" + kNewData), Close()}, Ends::NewChart, kNewData},
    {"IdentityEncoding", {Send("HTTP/1.1 200 OK\r\nContent-Encoding: Identity\r\nContent-Length: " +
                               std::to_string(kNewData.size()) + "\r\n\r\n" + kNewData)},
     Ends::NewChart, kNewData},

    // Only a chart replaces a chart.
    {"EmptyBody", {Send(Ok(""))}, Ends::FailsAfterDownloads, kNoChart},
    {"NoContent", {Send("HTTP/1.1 204 No Content\r\n\r\n")}, Ends::FailsAfterDownloads, kNoChart},
    {"GzipEncoded", {Send("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 4\r\n\r\n\x1f\x8b\x08\x00")},
     Ends::FailsOnData, kNoChart},
    {"EncodedTwice", {Send("HTTP/1.1 200 OK\r\nContent-Encoding: identity\r\ncontent-encoding: br\r\n"
                           "Content-Length: 4\r\n\r\nbody")}, Ends::FailsOnData, kNoChart},
    {"PartialContent", {Send("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-3/60\r\n"
                             "Content-Length: 4\r\n\r\nhttp")}, Ends::FailsOnData, kNoChart},
    {"WebPageOnData", {Send(Ok(Body("server-error.html")))}, Ends::FailsAfterDownloads, kNoChart},
    {"CaptivePortalOnEveryPath", {Send(Ok(Body("captive-portal.html")))}, Ends::FailsAfterDownloads, kNoChart,
     update::kBodyCap, "*"},
    {"WebPageOnVersion", {Send(Ok(Body("captive-portal.html")))}, Ends::FailsAfterDownloads, kNoChart,
     update::kBodyCap, "/version.dat"},
    {"DataWithoutACompleteRecord", {Send(Ok("http://program.example/\r\nProgram\r\n10\r\n"))},
     Ends::FailsAfterDownloads, kNoChart},
    {"PolicyWithoutACompleteTest", {Send(Ok("Security\r\nHidden\r\n"))}, Ends::FailsAfterDownloads, kNoChart,
     update::kBodyCap, "/policy.dat"},
    {"PolicyOfEmptyLines", {Send(Ok("\r\n\r\n"))}, Ends::FailsAfterDownloads, kNoChart, update::kBodyCap,
     "/policy.dat"},

    {"OkWithLocation", {Send(Status(200, "OK", "Location: http://mirror.example/data.dat\r\n"))}, Ends::FailsOnData,
     "answered /data.dat with HTTP status 200 and a redirection."},
    Refused("MovedPermanently", 301, "Moved Permanently"),
    Refused("Found", 302, "Found"),
    Refused("NotModified", 304, "Not Modified"),
    Refused("Unauthorized", 401, "Unauthorized"),
    Refused("NotFound", 404, "Not Found"),
    Refused("ProxyAuthRequired", 407, "Proxy Authentication Required"),
    Refused("ServerError", 500, "Internal Server Error"),
    {"SwitchingProtocols", {Send("HTTP/1.1 101 Switching Protocols\r\nUpgrade: other\r\nConnection: Upgrade\r\n\r\nbody"), Close()},
     Ends::FailsOnData, "answered with HTTP status 101 for /data.dat."},
    {"CodeNotANumber", {Send(Status(200, "OK").replace(9, 3, "2x0")), Close()}, Ends::FailsOnData,
     "answer for /data.dat was not understood."},

    {"ShorterThanLength", {Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort"), Close()}, Ends::FailsOnData,
     "the transfer of /data.dat was cut short."},
    {"ChunkedCutShort", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc"), Close()}, Ends::FailsOnData,
     "the transfer of /data.dat was cut short."},
    {"ClosedBeforeAnswer", {Close()}, Ends::FailsOnData, "closed the connection without answering."},
    {"ResetBeforeAnswer", {Reset()}, Ends::FailsOnData, "the connection to the data server was broken off."},
    {"NeverAnswers", {Hang()}, Ends::FailsOnData, "the data server did not answer in time."},
    {"TricklesSlowerThanStallLimit",
     {Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n"), Trickle("body", 700ms)}, Ends::FailsOnData,
     "the data server did not answer in time."},

    {"AnnouncedLengthOverCap", {Send("HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\nbody"), Close()}, Ends::FailsOnData,
     "the download of /data.dat was larger than 16 MiB."},
    {"ChunkedBodyOverCap", {Send(Chunked(std::string(3000, 'x')))}, Ends::FailsOnData,
     "the download of /data.dat was larger than 2048 bytes.", 2048},
    {"BodyExactlyAtCap", {Send(Chunked(DataOfSize(2048)))}, Ends::NewChart, DataOfSize(2048), 2048},
};

class UpdateOutcomeTest : public ChartDirTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(UpdateOutcomeTest, DataAnswerDecidesTheWholeUpdate) {
    const Outcome& o = GetParam();
    const std::map<std::string, std::string> served{
        {"/data.dat", kNewData}, {"/policy.dat", kNewPolicy}, {"/version.dat", kNewVersion}};
    ScriptedServer server;
    for (const auto& [path, body] : served) {
        server.On(path, path == o.path || std::string(o.path) == "*" ? o.script : Script{Send(Ok(body))});
    }
    auto settings = Settings(server.Base());
    settings.bodyCap = o.cap;
    Run(settings);

    if (o.ends == Ends::NewChart) {
        EXPECT_EQ(port_.Calls(), kSucceeded);
        EXPECT_TRUE(port_.Messages().empty()) << Message();
        for (const auto& [path, body] : served) {
            const std::string name = path.substr(1, path.size() - 5);  // "/data.dat" -> "data"
            EXPECT_EQ(ReadBytes(dir_ / name), path == o.path ? o.expected : body) << name;
        }
    } else {
        EXPECT_EQ(port_.Calls(), o.ends == Ends::FailsOnData ? kFailedOnData : kFailedAfterDownloads);
        EXPECT_NE(Message().find(o.expected), std::string::npos) << Message();
        EXPECT_EQ(Message().rfind("The update failed: ", 0), 0u);
        ExpectUntouched();
        const auto paths = server.RequestedPaths();
        EXPECT_EQ(std::count(paths.begin(), paths.end(), "/policy.dat"), o.ends == Ends::FailsOnData ? 0 : 1);
    }
    ExpectNoStagingFiles();
}

INSTANTIATE_TEST_SUITE_P(Answers, UpdateOutcomeTest, ::testing::ValuesIn(kOutcomes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
