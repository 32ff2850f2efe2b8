// How the answer to one GET decides an update: only a chart replaces a chart,
// and any other answer (a web page, JSON, compressed, partial, empty) leaves
// the old chart exactly as it was.
#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <vector>

#include "support/scripted_server.h"
#include "support/server_answer.h"
#include "support/test_data.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;

using Outcome = ServerAnswer;

const std::string kNewData = "http://program.example/\r\nProgram\r\n10\r\nA B C D E F 9\r\n";

// The window's toolkit sets the locale from the user's; under a Turkish one
// the C library's case folding turns 'I' into no ASCII letter.
class UpdateOutcomeTest : public ChartDirTest, public ::testing::WithParamInterface<Outcome> {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr)
            << "the locale tr_TR.UTF-8 is missing: scripts/setup.sh makes it";
        ChartDirTest::SetUp();
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

// One answer a row, to /data.dat (or to another path, or to all three), the
// other files served normally.
TEST_P(UpdateOutcomeTest, DataAnswerDecidesTheWholeUpdate) {
    const Outcome& o = GetParam();
    ASSERT_EQ(o.unreadable, "");
    const std::map<std::string, std::string> served{
        {"/data.dat", kNewData}, {"/policy.dat", kChartPolicy}, {"/version.dat", kChartVersion}};
    ScriptedServer server;
    for (const auto& [path, body] : served) {
        server.On(path, path == o.path || o.path == "*" ? o.script : Script{Send(Ok(body))});
    }
    auto settings = Settings(server.Base());
    settings.bodyCap = o.cap ? o.cap : update::kBodyCap;
    Run(settings);

    if (o.ends == "new-chart") {
        EXPECT_EQ(port_.Calls(), kSucceeded);
        EXPECT_TRUE(port_.Messages().empty()) << Message();
        for (const auto& [path, body] : served) {
            const std::string name = path.substr(1, path.size() - 5);  // "/data.dat" -> "data"
            EXPECT_EQ(ReadBytes(dir_ / name), path == o.path ? o.file : body) << name;
        }
    } else {
        EXPECT_EQ(port_.Calls(), o.ends == "fails-on-data" ? kFailedOnData : kFailedAfterDownloads);
        EXPECT_NE(Message().find(o.message), std::string::npos) << Message();
        EXPECT_EQ(Message().rfind("The update failed: ", 0), 0u);
        ExpectUntouched();
        const auto paths = server.RequestedPaths();
        EXPECT_EQ(std::count(paths.begin(), paths.end(), "/policy.dat"), o.ends == "fails-on-data" ? 0 : 1);
    }
    ExpectNoStagingFiles();
}

// Kept as data files in tests/data/answers/outcome/, read once the tests start.
INSTANTIATE_TEST_SUITE_P(Answers, UpdateOutcomeTest, ::testing::ValuesIn(ServerAnswers("outcome")),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
