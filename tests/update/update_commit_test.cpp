// Putting the new chart in place survives a kill: with the commit marker
// present the remaining renames are finished, without it staging files are
// only the remains of a download and go; a rename that fails part-way keeps
// what is needed to finish later.
#include <gtest/gtest.h>

#include "scripted_server.h"
#include "update/chart_commit.h"
#include "update/chart_files.h"
#include "update_fixture.h"

namespace update_test {
namespace {

class UpdateCommitTest : public ChartDirTest {
protected:
    std::filesystem::path Staging(const char* name) const {
        return dir_ / (std::string(".vantrel-update-") + name + ".tmp");
    }
    std::filesystem::path Marker() const { return update::CommitMarkerPath(dir_.string()); }

    // The state a commit killed after `renamed` renames leaves behind.
    void LeaveCommitKilledAfter(std::size_t renamed) {
        for (std::size_t i = 0; i < update::kChartFiles.size(); ++i) {
            const char* name = update::kChartFiles[i].name;
            WriteBytes(i < renamed ? dir_ / name : Staging(name), NewBytes(name));
        }
        WriteBytes(Marker(), "");
    }
    static std::string NewBytes(const std::string& name) { return "new " + name + "\r\n"; }
    void ExpectNewChart() const {
        for (const char* name : {"data", "policy", "version"}) {
            EXPECT_EQ(ReadBytes(dir_ / name), NewBytes(name)) << name;
        }
    }
    // A non-empty directory in place of a file: a rename onto it fails.
    void Block(const std::filesystem::path& path) {
        std::filesystem::remove(path);
        std::filesystem::create_directory(path);
        WriteBytes(path / "keep", "x");
    }
};

TEST_F(UpdateCommitTest, AMarkedCommitIsFinishedWhereverItWasKilled) {
    for (std::size_t renamed = 0; renamed < update::kChartFiles.size(); ++renamed) {
        SCOPED_TRACE("killed after " + std::to_string(renamed) + " renames");
        LeaveCommitKilledAfter(renamed);
        EXPECT_TRUE(update::FinishInterruptedUpdate(dir_.string()));
        ExpectNewChart();
        ExpectNoStagingFiles();
        // Killed after the last rename, before the marker went: nothing to redo.
        WriteBytes(Marker(), "");
        EXPECT_TRUE(update::FinishInterruptedUpdate(dir_.string()));
        ExpectNewChart();
        ExpectNoStagingFiles();
    }
}

TEST_F(UpdateCommitTest, WithoutAMarkerStagingFilesAreRemovedAndTheChartKept) {
    for (const char* name : {"data", "policy", "version"}) WriteBytes(Staging(name), "half a download");
    EXPECT_TRUE(update::FinishInterruptedUpdate(dir_.string()));
    ExpectUntouched();
    ExpectNoStagingFiles();
}

TEST_F(UpdateCommitTest, NextUpdateFinishesAKilledCommitBeforeDownloading) {
    LeaveCommitKilledAfter(1);
    ScriptedServer server;  // every path answers 404: the update itself fails
    Run(Settings(server.Base()));
    EXPECT_EQ(port_.Calls(), kFailedOnData);
    ExpectNewChart();
    ExpectNoStagingFiles();
}

TEST_F(UpdateCommitTest, ARenameFailingPartWayKeepsWhatFinishesItLater) {
    ScriptedServer server;
    server.On("/data.dat", {Send(Ok(NewBytes("data")))});
    server.On("/policy.dat", {Send(Ok(NewBytes("policy")))});
    server.On("/version.dat", {Send(Ok(NewBytes("version")))});

    // "policy" cannot be replaced: "data" is already new, so the rest must wait.
    Block(dir_ / "policy");
    Run(Settings(server.Base()));
    EXPECT_EQ(port_.Calls().back(), "finished");
    EXPECT_EQ(Message(), "The update failed: the file " + (dir_ / "policy").string() +
                             " could not be written (Is a directory).");
    EXPECT_TRUE(std::filesystem::exists(Marker()));
    EXPECT_TRUE(std::filesystem::exists(Staging("policy")));
    EXPECT_TRUE(std::filesystem::exists(Staging("version")));
    EXPECT_FALSE(update::FinishInterruptedUpdate(dir_.string())) << "still blocked";
    EXPECT_TRUE(std::filesystem::exists(Marker()));

    std::filesystem::remove_all(dir_ / "policy");
    EXPECT_TRUE(update::FinishInterruptedUpdate(dir_.string()));
    ExpectNewChart();
    ExpectNoStagingFiles();
}

TEST_F(UpdateCommitTest, TheFirstRenameFailingLeavesTheOldChartAndNoMarker) {
    ScriptedServer server;
    server.On("/data.dat", {Send(Ok(NewBytes("data")))});
    server.On("/policy.dat", {Send(Ok(NewBytes("policy")))});
    server.On("/version.dat", {Send(Ok(NewBytes("version")))});

    Block(dir_ / "data");
    Run(Settings(server.Base()));
    EXPECT_EQ(port_.Calls().back(), "finished");
    EXPECT_EQ(port_.Messages().size(), 1u);
    EXPECT_EQ(ReadBytes(dir_ / "policy"), kOldPolicy);
    EXPECT_EQ(ReadBytes(dir_ / "version"), kOldVersion);
    EXPECT_FALSE(std::filesystem::exists(Marker()));
    EXPECT_FALSE(std::filesystem::exists(Staging("data")));
    EXPECT_FALSE(std::filesystem::exists(Staging("policy")));
    EXPECT_FALSE(std::filesystem::exists(Staging("version")));
}

}  // namespace
}  // namespace update_test
