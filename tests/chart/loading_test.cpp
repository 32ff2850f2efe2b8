// The loading sequence: the version gate, its messages in order, and reloads against a busy folder.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "chart/loading/version_gate.h"
#include "folder/chart_folder_lock.h"
#include "folder/chart_reader.h"
#include "folder/marker_lock.h"
#include "folder/work_files.h"
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
    form.FormCreate(Files());
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
    form.FormCreate(Files());
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNoVersionFileMessage});
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
}

TEST_F(ChartTest, RequiredVersionAboveOursStopsTheLoad) {
    for (const char* required : {"11", "9"}) {
        rec.events.clear();
        grid.SetCell(0, 1, "earlier");
        WriteAll(std::string("10\n") + required + "\n", kData, kPolicy);
        form.ReadAll(Files());
        EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNeedNewestVersionMessage + kHost});
        EXPECT_FALSE(grid.Enabled());
        EXPECT_EQ(grid.Cell(0, 1), "earlier");
    }
}

TEST_F(ChartTest, NewerVersionOnOfferIsANoticeAndTheChartLoads) {
    WriteAll("11\n10\n", kData, kPolicy);
    grid.SetEnabled(false);
    form.ReadAll(Files());
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNewestAvailableMessage + kHost});
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
    EXPECT_EQ(tables.TestPolicy(1, 2), "T1");

    rec.events.clear();
    WriteAll("12", kData, kPolicy);  // a single line: the required version is empty
    form.ReadAll(Files());
    EXPECT_EQ(tables.RequiredVersion, "");
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNewestAvailableMessage + kHost});
    EXPECT_TRUE(grid.Enabled());

    rec.events.clear();
    WriteAll("10\r\n10\r\nignored\n", kData, kPolicy);
    form.ReadAll(Files());
    EXPECT_TRUE(rec.Log().empty());
}

TEST_F(ChartTest, MissingPolicyIsReportedAfterTheDataIsLoaded) {
    dir.Write("version", "10\n10\n");
    dir.Write("data", kData);
    form.ReadAll(Files());
    EXPECT_EQ(rec.Log(), Log{std::string("message: ") + kNoPolicyFileMessage});
    EXPECT_EQ(grid.Cell(0, 1), "Alpha");
    EXPECT_FALSE(grid.Enabled());
}

// A signed chart's release date comes from its signature, read with it.
TEST_F(ChartTest, TheKeptDataSignatureIsReadWithTheChart) {
    WriteAll("10\n10\n", kData, kPolicy);
    EXPECT_EQ(Files().DataSignature(), "");
    dir.Write("data.minisig", "untrusted comment: signature\nRWQ=\n");
    EXPECT_EQ(Files().DataSignature(), "untrusted comment: signature\nRWQ=\n");
}

// The checks read every file, past a gate that stops the window's load: the
// grid stays disabled, each reader's failure is kept with its reason.
TEST_F(ChartTest, ALoadPastTheGateReadsEveryFileAndKeepsWhyOneFailed) {
    dir.Write("version", "10\n11\n");
    dir.Write("data", kData);
    GridRows rows(grid);
    const ChartLoad load = LoadChart(Files(), tables, rows, LoadRules{kHost, true});
    EXPECT_TRUE(load.stoppedByTheGate);
    EXPECT_FALSE(load.enabled);
    EXPECT_EQ(load.messages, (Log{kNeedNewestVersionMessage + std::string(kHost), kNoPolicyFileMessage}));
    ASSERT_TRUE(load.data);
    EXPECT_EQ(load.data->programs, 1);
    EXPECT_EQ(load.failures[ChartFileIndex::kPolicy], "File not found");
    EXPECT_FALSE(load.failures[ChartFileIndex::kData]);
}

// What the chart folder holds when a reload meets it (another copy's marker,
// its locks, a holder none of ours), as the files and locks themselves: every
// row ends within its bounds with one whole chart or none, never a mix.
enum class Marker { None, CutOff, CutOffForGood, Damaged };
struct FolderHeld {
    const char* name;
    Marker marker;
    bool writerAtWork;        // its writer holds the marker's lock
    bool folderHeld;          // the folder's lock, exclusively
    int windowEndsAfter;      // polls until the program ends; 0: never
    bool commitEndsOnItsOwn;  // the writer finishes once the reload has said why it waits
    folder::ChartRead::Outcome outcome;
    const char* data;  // the data read ("old data", "new data"), or "" for none
    bool toldWhy;      // the reload said it waits for another copy
    const char* message = "";  // a piece of what the user is told instead of the chart
};

class CallbackWindow : public WaitPort {
public:
    std::function<bool()> poll;
    bool KeepWaiting() override { return poll(); }
};

TEST_F(ChartTest, AReloadNeverWaitsForTheFolderWithoutABound) {
    using Outcome = folder::ChartRead::Outcome;
    const FolderHeld rows[] = {
        {"a holder none of ours", Marker::None, false, true, 0, false, Outcome::Read, "old data", false},
        {"a commit cut off", Marker::CutOff, false, false, 0, false, Outcome::Read, "new data", false},
        {"a commit cut off, the folder held", Marker::CutOff, false, true, 0, false, Outcome::Read, "new data", false},
        {"a commit cut off for good", Marker::CutOffForGood, false, false, 0, false, Outcome::NotRead, "", false,
         "/policy could not be written (Is a directory)."},
        {"a damaged marker", Marker::Damaged, false, false, 0, false, Outcome::NotRead, "", false, "is damaged"},
        {"a slow commit", Marker::CutOff, true, true, 0, true, Outcome::Read, "new data", true},
        {"a commit that never ends", Marker::CutOff, true, true, 0, false, Outcome::CommitNotFinished, "", true,
         "has not finished"},
        {"the program ending", Marker::CutOff, true, true, 3, false, Outcome::Abandoned, "", true},
        {"the program ending while a cut-off commit waits for the folder", Marker::CutOff, false, true, 3, false,
         Outcome::Abandoned, "", false},
    };
    const folder::WorkFiles files(dir.Path());
    const auto path = [&](const std::string& name) { return dir.Path() + "/" + name; };
    CallbackWindow window;
    for (const FolderHeld& row : rows) {
        SCOPED_TRACE(row.name);
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) std::filesystem::remove_all(entry);
        WriteAll("10\n10\n", "old data", "old policy");
        // A commit cut off after its first rename: data new, the rest staged.
        const auto renameRest = [&] {
            std::filesystem::rename(path(".vantrel-update-policy.tmp"), path("policy"));
            std::filesystem::rename(path(".vantrel-update-version.tmp"), path("version"));
            std::filesystem::remove(files.CommitMarker());
            for (const char* name : {"data", "policy", "version"})
                std::filesystem::remove(path(std::string(".vantrel-update-") + name + ".old"));
        };
        if (row.marker != Marker::None) {
            for (const char* name : {"data", "policy", "version"}) {
                std::filesystem::create_hard_link(path(name), path(std::string(".vantrel-update-") + name + ".old"));
            }
            dir.Write(".vantrel-update-data.tmp", "new data");
            dir.Write(".vantrel-update-policy.tmp", "new policy");
            dir.Write(".vantrel-update-version.tmp", "10\n10\n");
            std::filesystem::rename(path(".vantrel-update-data.tmp"), path("data"));
            dir.Write(".vantrel-update-commit", row.marker == Marker::Damaged ? "policy\nend" : "end\n");
        }
        if (row.marker == Marker::CutOffForGood) {
            std::filesystem::remove(path(".vantrel-update-policy.old"));
            std::filesystem::remove(path("policy"));
            std::filesystem::create_directory(path("policy"));
            dir.Write("policy/keep", "x");
        }
        std::optional<folder::MarkerLock> writer;
        if (row.writerAtWork) writer.emplace(files.CommitMarker(), std::chrono::seconds(0), nullptr);
        std::optional<folder::ChartFolderLock> holder;
        if (row.folderHeld) holder.emplace(dir.Path(), folder::ChartFolderLock::Mode::Exclusive);
        ASSERT_TRUE(!holder || holder->Held());

        bool told = false;
        int polls = 0;
        window.poll = [&] {
            if (told && row.commitEndsOnItsOwn && writer) {
                renameRest();
                writer.reset();
                holder.reset();
            }
            return ++polls != row.windowEndsAfter;
        };
        folder::ReaderWaits waits;
        waits.window = &window;
        waits.onCommitWait = [&] { told = true; };
        waits.lockWait = std::chrono::milliseconds(20);
        waits.commitWait = std::chrono::milliseconds(300);
        const auto read = folder::ReadChartFolder(dir.Path(), waits);
        EXPECT_EQ(read.outcome, row.outcome) << read.message;
        if (*row.data && read.snapshot) {
            // One chart: the policy of the same release as the data.
            EXPECT_EQ(read.snapshot->Bytes("data"), row.data);
            const bool isNew = std::string(row.data) == "new data";
            EXPECT_EQ(read.snapshot->Bytes("policy"), isNew ? "new policy" : "old policy");
        }
        EXPECT_EQ(told, row.toldWhy);
        EXPECT_NE(read.message.find(row.message), std::string::npos) << read.message;
    }
}

}  // namespace
}  // namespace chart

namespace chart {
namespace {

// Another copy's commit swapping whole charts under the folder's exclusive
// lock, one rename at a time, while this copy reloads again and again: every
// reload shows one chart, never the version, data or policy of the other. The
// reloads that overlapped a commit are counted: without one, nothing was tried.
TEST_F(ChartTest, ReloadDuringCommitsSeesOneChartNeverAMix) {
    struct Chart {
        std::string version, data, policy;
    };
    const Chart charts[] = {{"09\n09\n", "http://a.example\nAlpha\n1\nA\n\n", "TA\nc\n\n"},
                            {"08\n08\n", "http://b.example\nBravo\n1\nB\n\n", "TB\nc\n\n"}};
    WriteAll(charts[0].version, charts[0].data, charts[0].policy);
    std::atomic<bool> stop{false};
    std::atomic<int> commitsBegun{0}, commitsEnded{0};
    std::thread committer([&] {
        for (int n = 1; !stop; ++n) {
            {
                const Chart& chart = charts[n % 2];
                const folder::ChartFolderLock lock(dir.Path(), folder::ChartFolderLock::Mode::Exclusive);
                ++commitsBegun;
                for (const auto& [name, bytes] : {std::pair{"version", chart.version}, {"data", chart.data},
                                                  {"policy", chart.policy}}) {
                    dir.Write(std::string(".new-") + name, bytes);
                    std::filesystem::rename(dir.Path() + "/.new-" + name, dir.Path() + "/" + name);
                    std::this_thread::yield();  // a reload without the lock would land here
                }
                ++commitsEnded;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // commits come apart
        }
    });
    // Until enough reloads have overlapped a commit, within a bound.
    int overlapped = 0, reloads = 0;
    for (; reloads < 20000 && overlapped < 50 && !HasFailure(); ++reloads) {
        const int reload = reloads;
        const int begunBefore = commitsBegun, endedBefore = commitsEnded;
        form.ReadAll(Files());
        // A commit under way when the reload began, or one begun during it.
        overlapped += begunBefore != endedBefore || commitsBegun != begunBefore;
        const int which = tables.LatestVersion == "09" ? 0 : 1;
        EXPECT_EQ(tables.LatestVersion + "\n" + tables.RequiredVersion + "\n", charts[which].version) << reload;
        EXPECT_EQ(grid.Cell(0, 1), which == 0 ? "Alpha" : "Bravo") << reload;
        EXPECT_EQ(tables.TestPolicy(1, 2), which == 0 ? "TA" : "TB") << reload;
    }
    stop = true;
    committer.join();
    EXPECT_TRUE(rec.Log().empty());
    EXPECT_GT(overlapped, 0) << "no reload overlapped a commit";
    std::printf("%d of %d reloads overlapped a commit\n", overlapped, reloads);
}

}  // namespace
}  // namespace chart
