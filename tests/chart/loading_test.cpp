#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "chart/files/chart_folder_lock.h"
#include "chart/files/chart_snapshot.h"
#include "chart/loading/version_gate.h"
#include "chart_fixture.h"

namespace chart {
namespace {

using chart_test::ChartTest;
using Log = std::vector<std::string>;

const std::string kData = "http://a.example\nAlpha\n1\nA B\n";
const std::string kPolicy = "T1\nc1\n\n";

TEST(VersionGate, ByteWiseOrderNotNumbers) {
    for (const char* newer : {"11", "2", "9", "100", "10\x01", "\xff"})
        EXPECT_TRUE(IsNewerVersion(newer, "10")) << newer;
    for (const char* notNewer : {"10", "1", "09", "", "0999"})
        EXPECT_FALSE(IsNewerVersion(notNewer, "10")) << notNewer;
}

TEST_F(ChartTest, FirstStartWithoutFilesShowsThreeMessagesInOrder) {
    tables.LatestVersion = tables.RequiredVersion = "x";
    form.FormCreate();
    EXPECT_EQ(tables.LatestVersion, "10");
    EXPECT_EQ(tables.RequiredVersion, "10");
    EXPECT_EQ(rec.log, (Log{std::string("message: ") + kNoVersionFileMessage,
                            std::string("message: ") + kNoDataFileMessage,
                            std::string("message: ") + kNoPolicyFileMessage}));
    EXPECT_FALSE(grid.Enabled());
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST_F(ChartTest, MissingVersionFileAloneLeavesTheGridEnabled) {
    dir.Write("data", kData);
    dir.Write("policy", kPolicy);
    form.FormCreate();
    EXPECT_EQ(rec.log, Log{std::string("message: ") + kNoVersionFileMessage});
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
}

TEST_F(ChartTest, RequiredVersionAboveOursStopsTheLoad) {
    for (const char* required : {"11", "9"}) {
        rec.log.clear();
        grid.SetCell(0, 1, "earlier");
        WriteAll(std::string("10\n") + required + "\n", kData, kPolicy);
        form.ReadAll();
        EXPECT_EQ(rec.log, Log{std::string("message: ") + kNeedNewestVersionMessage + kHost});
        EXPECT_FALSE(grid.Enabled());
        EXPECT_EQ(grid.Cell(0, 1), "earlier");
    }
}

TEST_F(ChartTest, NewerVersionOnOfferIsANoticeAndTheChartLoads) {
    WriteAll("11\n10\n", kData, kPolicy);
    grid.SetEnabled(false);
    form.ReadAll();
    EXPECT_EQ(rec.log, Log{std::string("message: ") + kNewestAvailableMessage + kHost});
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
    EXPECT_EQ(tables.TestPolicy(1, 2), "T1");

    rec.log.clear();
    WriteAll("12", kData, kPolicy);  // a single line: the required version is empty
    form.ReadAll();
    EXPECT_EQ(tables.RequiredVersion, "");
    EXPECT_EQ(rec.log, Log{std::string("message: ") + kNewestAvailableMessage + kHost});
    EXPECT_TRUE(grid.Enabled());

    rec.log.clear();
    WriteAll("10\r\n10\r\nignored\n", kData, kPolicy);
    form.ReadAll();
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ChartTest, MissingPolicyIsReportedAfterTheDataIsLoaded) {
    dir.Write("version", "10\n10\n");
    dir.Write("data", kData);
    form.ReadAll();
    EXPECT_EQ(rec.log, Log{std::string("message: ") + kNoPolicyFileMessage});
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
    EXPECT_FALSE(grid.Enabled());
}

// A commit that holds the folder past the reload's first wait (a slow
// stick): the reload says why it waits once, then reads the new chart whole.
TEST_F(ChartTest, AReloadWaitsOutASlowCommitAndSaysWhy) {
    WriteAll("09\n09\n", "old", "old");
    std::atomic<bool> told{false}, read{false};
    std::optional<ChartSnapshot> snapshot;
    auto commit = std::make_unique<ChartFolderLock>(dir.Path(), ChartFolderLock::Mode::Exclusive);
    std::thread reload([&] {
        snapshot.emplace(dir.Path(), std::chrono::milliseconds(20), [&] { told = true; });
        read = true;
    });
    while (!told) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    WriteAll("10\n10\n", "new", "new");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(read) << "read during the commit";
    commit.reset();
    reload.join();
    EXPECT_EQ(snapshot->Bytes("version"), "10\n10\n");
    EXPECT_EQ(snapshot->Bytes("data"), "new");
}

}  // namespace
}  // namespace chart

namespace chart {
namespace {

// Another copy's commit swapping whole charts under the folder's exclusive
// lock, one rename at a time, while this copy reloads again and again: every
// reload shows one chart, never the version, data or policy of the other.
TEST_F(ChartTest, ReloadDuringCommitsSeesOneChartNeverAMix) {
    struct Chart {
        std::string version, data, policy;
    };
    const Chart charts[] = {{"09\n09\n", "http://a.example\nAlpha\n1\nA\n\n", "TA\nc\n\n"},
                            {"08\n08\n", "http://b.example\nBravo\n1\nB\n\n", "TB\nc\n\n"}};
    WriteAll(charts[0].version, charts[0].data, charts[0].policy);
    std::atomic<bool> stop{false};
    std::thread committer([&] {
        for (int n = 1; !stop; ++n) {
            {
                const Chart& chart = charts[n % 2];
                const ChartFolderLock lock(dir.Path(), ChartFolderLock::Mode::Exclusive);
                for (const auto& [name, bytes] : {std::pair{"version", chart.version}, {"data", chart.data},
                                                  {"policy", chart.policy}}) {
                    dir.Write(std::string(".new-") + name, bytes);
                    std::filesystem::rename(dir.Path() + "/.new-" + name, dir.Path() + "/" + name);
                    std::this_thread::yield();  // a reload without the lock would land here
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // commits come apart
        }
    });
    for (int reload = 0; reload < 300 && !HasFailure(); ++reload) {
        form.ReadAll();
        const int which = tables.LatestVersion == "09" ? 0 : 1;
        EXPECT_EQ(tables.LatestVersion + "\n" + tables.RequiredVersion + "\n", charts[which].version) << reload;
        EXPECT_EQ(grid.Cell(0, 1), which == 0 ? "Alpha" : "Bravo") << reload;
        EXPECT_EQ(tables.TestPolicy(1, 2), which == 0 ? "TA" : "TB") << reload;
    }
    stop = true;
    committer.join();
    EXPECT_TRUE(rec.log.empty());
}

}  // namespace
}  // namespace chart
