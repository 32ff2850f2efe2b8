// An update ending in the real loading sequence: the fetched files are what
// the chart then shows, and the version gate applies to the fetched version.
#include <gtest/gtest.h>

#include <memory>

#include "chart/chart_form.h"
#include "chart/recording_ports.h"
#include "support/folder_snapshot.h"
#include "support/scripted_server.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

class UpdateReloadTest : public ChartDirTest {
protected:
    void SetUp() override {
        ChartDirTest::SetUp();
        WriteBytes(dir_ / "data", "http://old.example/\r\nOld Keys\r\n1\r\n1 1 1 1 1 1 6\r\n");
        WriteBytes(dir_ / "policy", "Security\r\nHidden\r\n\r\n");
        form_ = std::make_unique<chart::ChartForm>(
            tables_, grid_, chart::ChartPorts{ports_, ports_, ports_}, dir_.string(),
            "www.vantrel.example");
        form_->FormCreate(support::FolderSnapshot(dir_.string()));  // the chart as shown before the update
        ports_.events.clear();
        // The window runs ReadAll on its own thread; here the worker's thread
        // does it while the test waits.
        port_.onReadAll = [this] { form_->ReadAll(support::FolderSnapshot(dir_.string())); };
        server_.On("/data.dat", {Send(Ok("http://new.example/\r\nNew Keys\r\n10\r\n2 2 2 2 2 2 12\r\n"))});
        server_.On("/policy.dat", {Send(Ok("Security\r\nHidden\r\nStealth\r\n\r\n"))});
    }

    chart::RecordingPorts ports_;
    chart::ChartTables tables_;
    chart::GridModel grid_;
    std::unique_ptr<chart::ChartForm> form_;
    ScriptedServer server_;
};

TEST_F(UpdateReloadTest, FetchedChartIsShown) {
    ASSERT_EQ(grid_.Cell(0, 1), "Old Keys");
    server_.On("/version.dat", {Send(Ok("10\r\n10\r\n"))});
    Run(Settings(server_.Base()));
    EXPECT_EQ(port_.Calls(), kSucceeded);
    EXPECT_TRUE(ports_.Messages().empty());
    EXPECT_TRUE(grid_.Enabled());
    EXPECT_EQ(grid_.Cell(0, 1), "New Keys");
    EXPECT_EQ(tables_.TestPolicy(1, 2), "Stealth");
}

TEST_F(UpdateReloadTest, FetchedVersionNeedingNewerProgramStopsTheChart) {
    server_.On("/version.dat", {Send(Ok("10\r\n11\r\n"))});
    grid_.SetEnabled(false);  // as the worker's first call leaves it in the window
    Run(Settings(server_.Base()));
    EXPECT_EQ(port_.Calls(), kSucceeded);
    EXPECT_EQ(ports_.Messages(), std::vector<std::string>{
                                   std::string(chart::kNeedNewestVersionMessage) + "www.vantrel.example"});
    EXPECT_FALSE(grid_.Enabled());
    EXPECT_EQ(grid_.Cell(0, 1), "Old Keys");
    EXPECT_EQ(ReadBytes(dir_ / "version"), "10\r\n11\r\n");
}

}  // namespace
}  // namespace update_test
