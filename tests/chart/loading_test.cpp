#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
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
    EXPECT_EQ(rec.Log(), (Log{std::string("message: ") + kNoVersionFileMessage,
                            std::string("message: ") + kNoDataFileMessage,
                            std::string("message: ") + kNoPolicyFileMessage}));
    EXPECT_FALSE(grid.Enabled());
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST_F(ChartTest, MissingVersionFileAloneLeavesTheGridEnabled) {
    dir.Write("data", kData);
    dir.Write("policy", kPolicy);
    form.FormCreate();
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNoVersionFileMessage});
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
}

TEST_F(ChartTest, RequiredVersionAboveOursStopsTheLoad) {
    for (const char* required : {"11", "9"}) {
        rec.events.clear();
        grid.SetCell(0, 1, "earlier");
        WriteAll(std::string("10\n") + required + "\n", kData, kPolicy);
        form.ReadAll();
        EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNeedNewestVersionMessage + kHost});
        EXPECT_FALSE(grid.Enabled());
        EXPECT_EQ(grid.Cell(0, 1), "earlier");
    }
}

TEST_F(ChartTest, NewerVersionOnOfferIsANoticeAndTheChartLoads) {
    WriteAll("11\n10\n", kData, kPolicy);
    grid.SetEnabled(false);
    form.ReadAll();
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNewestAvailableMessage + kHost});
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
    EXPECT_EQ(tables.TestPolicy(1, 2), "T1");

    rec.events.clear();
    WriteAll("12", kData, kPolicy);  // a single line: the required version is empty
    form.ReadAll();
    EXPECT_EQ(tables.RequiredVersion, "");
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNewestAvailableMessage + kHost});
    EXPECT_TRUE(grid.Enabled());

    rec.events.clear();
    WriteAll("10\r\n10\r\nignored\n", kData, kPolicy);
    form.ReadAll();
    EXPECT_TRUE(rec.Log().empty());
}

TEST_F(ChartTest, MissingPolicyIsReportedAfterTheDataIsLoaded) {
    dir.Write("version", "10\n10\n");
    dir.Write("data", kData);
    form.ReadAll();
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNoPolicyFileMessage});
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
    EXPECT_FALSE(grid.Enabled());
}

// Another process holds the chart folder's lock the whole time: the reload
// tries a short while, then goes by what the holder is doing. Every row ends
// within its bounds, whatever holds the lock.
struct FolderHeld {
    const char* name;
    CommitWatch::Activity activity;  // what the holder is doing
    std::optional<std::string> finishFails;  // what finishing a cut-off commit answers
    int windowEndsAfter;     // polls until the program ends; 0: never
    bool commitEndsOnItsOwn;  // once the reload has said why it waits
    ChartSnapshot::Outcome outcome;
    const char* read;  // the data read: the "old" or the "new" chart, or "" for none
    bool toldWhy;      // the reload said it waits for a commit
};

class HolderWatch : public CommitWatch {
public:
    std::function<void()> finish;
    std::function<void()> onNow;
    std::optional<std::string> finishFails;
    Activity activity = Activity::None;
    Activity Now() override {
        if (onNow) onNow();
        return activity;
    }
    std::optional<std::string> FinishInterrupted(WaitPort&) override {
        if (!finishFails) finish();
        return finishFails;
    }
};

class CallbackWindow : public WaitPort {
public:
    std::function<bool()> poll;
    bool KeepWaiting() override { return poll(); }
};

TEST_F(ChartTest, AReloadNeverWaitsForTheFolderWithoutABound) {
    using Activity = CommitWatch::Activity;
    using Outcome = ChartSnapshot::Outcome;
    const FolderHeld rows[] = {
        {"a holder none of ours", Activity::None, std::nullopt, 0, false, Outcome::Read, "old", false},
        {"a commit cut off", Activity::Interrupted, std::nullopt, 0, false, Outcome::Read, "new", false},
        {"a commit cut off for good", Activity::Interrupted, "cannot", 0, false, Outcome::RecoveryFailed, "", false},
        {"a slow commit", Activity::Committing, std::nullopt, 0, true, Outcome::Read, "new", true},
        {"a commit that never ends", Activity::Committing, std::nullopt, 0, false, Outcome::CommitNotFinished, "", true},
        {"the program ending", Activity::Committing, std::nullopt, 3, false, Outcome::Abandoned, "", true},
    };
    HolderWatch watch;
    CallbackWindow window;
    for (const FolderHeld& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll("10\n10\n", "old", "");
        auto holder = std::make_unique<ChartFolderLock>(dir.Path(), ChartFolderLock::Mode::Exclusive);
        ASSERT_TRUE(holder->Held());
        const auto putNewChartInPlace = [&] {
            dir.Write("data", "new");
            watch.activity = Activity::None;
        };
        watch.activity = row.activity;
        watch.finishFails = row.finishFails;
        watch.finish = putNewChartInPlace;
        bool told = false;
        int polls = 0;
        window.poll = [&] {
            if (told && row.commitEndsOnItsOwn) {
                putNewChartInPlace();
                holder.reset();
            }
            return ++polls != row.windowEndsAfter;
        };
        FolderWaits waits;
        waits.window = &window;
        waits.commits = &watch;
        waits.onCommitWait = [&] { told = true; };
        waits.lockWait = std::chrono::milliseconds(20);
        waits.commitWait = std::chrono::milliseconds(200);
        const ChartSnapshot snapshot(dir.Path(), waits);
        EXPECT_EQ(snapshot.State(), row.outcome);
        if (*row.read) {
            EXPECT_EQ(snapshot.Bytes("data"), row.read);
        }
        EXPECT_EQ(told, row.toldWhy);
        if (row.finishFails) {
            EXPECT_EQ(snapshot.Why(), *row.finishFails);
        }
    }
}

// A file put in place of one while the reload read it (by something that
// takes no lock, or a commit that could not take it): the files are read
// again, so that the three are one chart.
TEST_F(ChartTest, AFileReplacedWhileReadIsReadAgain) {
    WriteAll("10\n10\n", "old", "old");
    HolderWatch watch;
    int looks = 0;
    watch.onNow = [&] {
        if (++looks > 1) return;
        dir.Write("data.new", "new");
        std::filesystem::rename(dir.Path() + "/data.new", dir.Path() + "/data");
    };
    FolderWaits waits;
    waits.commits = &watch;
    const ChartSnapshot snapshot(dir.Path(), waits);
    EXPECT_EQ(snapshot.State(), ChartSnapshot::Outcome::Read);
    EXPECT_EQ(snapshot.Bytes("data"), "new");
    EXPECT_EQ(looks, 2);
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
    EXPECT_TRUE(rec.Log().empty());
}

}  // namespace
}  // namespace chart
