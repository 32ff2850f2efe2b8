// The Update commands drive the real worker against a loopback server, and
// the window shows what it reports: progress, the reloaded chart, a failure's
// message, the commands coming back, and a close in the middle of a run.
#include <QAbstractButton>
#include <QAction>
#include <QProgressBar>
#include <QTest>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "folder/chart_folder_lock.h"
#include "support/lock_files.h"
#include "form_fixture.h"
#include "support/file_events.h"
#include "support/scripted_server.h"
#include "ui/update_bridge.h"
#include "update/update_thread.h"

namespace vantrel::ui::testing {
namespace {

using namespace std::chrono_literals;
using support::Ok;
using support::Send;

// Two programs the sample chart does not have.
const std::string kNewData =
    "http://www.echo.example/\r\nEcho\r\n11 11 11 11 11 11\r\n2 2 2 2 2 2 12\r\n\r\n"
    "http://www.foxtrot.example/\r\nFoxtrot\r\n00 00 00 00 00 00\r\n0 0 0 0 0 0 0\r\n\r\n";
const std::string kNewPolicy = [] {
    std::string policy;
    for (const char* test : {"OS support", "Demo version", "Interception", "Log viewing",
                             "Security", "Network options"})
        policy += std::string(test) + "\r\nOne\r\nTwo\r\n\r\n";
    return policy;
}();

class UpdateWiringTest : public FormTest {
protected:
    // Form1 over the sample chart (or none), its Update commands wired to the
    // worker with the loopback server as data server.
    void OpenWithUpdates(bool withChart = true) {
        if (withChart)
            WriteSampleChart(dir_);
        Open();
        boxes_.seen.clear();
        update::UpdateSettings settings;
        settings.baseUrl = server_.Base();
        settings.chartDirectory = dir_.Path();
        settings.connectTimeout = 5s;
        settings.stallTimeout = 5s;
        updates_ = std::make_unique<update::UpdateThread>(settings);
        bridge_ = std::make_unique<UpdateBridge>(*form_, *updates_);
        auto* bar = form_->findChild<QProgressBar*>("ProgressBar1");
        QObject::connect(bar, &QProgressBar::valueChanged, [this](int value) {
            progress_.push_back(value);
            gridEnabledAtProgress_.push_back(form_->GridEnabled());
        });
        before_ = Files();
    }

    void ServeChart(const std::string& version) {
        server_.On("/data.dat", {Send(Ok(kNewData))});
        server_.On("/policy.dat", {Send(Ok(kNewPolicy))});
        server_.On("/version.dat", {Send(Ok(version))});
    }

    QAbstractButton* Button() { return form_->findChild<QAbstractButton*>("SpeedButton1"); }
    QAction* MenuItem() { return form_->findChild<QAction*>("Update1"); }
    bool CommandsEnabled() { return Button()->isEnabled() && MenuItem()->isEnabled(); }
    void ClickUpdate() { QTest::mouseClick(Button(), Qt::LeftButton); }
    bool WaitForCommands() { return QTest::qWaitFor([this] { return CommandsEnabled(); }, 20000); }
    int Progress() { return form_->findChild<QProgressBar*>("ProgressBar1")->value(); }
    // Posts a ping to the bridge behind every report posted before, and waits
    // until it has been carried out: by then those reports have been too.
    bool PingBridge() {
        bool pinged = false;
        QMetaObject::invokeMethod(bridge_.get(), [&pinged] { pinged = true; }, Qt::QueuedConnection);
        return QTest::qWaitFor([&pinged] { return pinged; }, 20000);
    }
    void FailOnPolicyAndExpectTheWindowBack();

    // Every file in the chart directory with its bytes, but for the update
    // lock's files (empty, and kept once made).
    std::vector<std::pair<std::string, std::string>> Files() const {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
            if (support::IsUpdateLockFile(entry.path()))
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files.emplace_back(entry.path().filename().string(), bytes.str());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    support::ScriptedServer server_;
    std::unique_ptr<update::UpdateThread> updates_;
    std::unique_ptr<UpdateBridge> bridge_;  // goes before the updates, the server and the window
    std::vector<int> progress_;
    std::vector<bool> gridEnabledAtProgress_;
    std::vector<std::pair<std::string, std::string>> before_;
};

TEST_F(UpdateWiringTest, ClickOnUpdateFetchesAndShowsTheNewChart) {
    OpenWithUpdates();
    ServeChart("10\r\n10\r\n");
    form_->SetProgress(7);  // so the run's first setting, 0, shows as a change
    progress_.clear();
    gridEnabledAtProgress_.clear();
    ClickUpdate();
    EXPECT_FALSE(Button()->isEnabled());
    EXPECT_FALSE(MenuItem()->isEnabled());
    ASSERT_TRUE(WaitForCommands());

    EXPECT_EQ(progress_, (std::vector<int>{0, 33, 66, 100, 0}));
    // The grid is disabled from the start of the run until the reload.
    EXPECT_EQ(gridEnabledAtProgress_, (std::vector<bool>{false, false, false, false, false}));
    EXPECT_TRUE(form_->GridEnabled());
    EXPECT_EQ(form_->GridModel().Cell(0, 1), "Echo");
    EXPECT_EQ(form_->GridModel().Cell(0, 2), "Foxtrot");
    EXPECT_EQ(form_->GridModel().RowCount(), 3);
    EXPECT_TRUE(boxes_.seen.empty());
    EXPECT_EQ(Files(), (decltype(before_){
                           {"data", kNewData}, {"policy", kNewPolicy}, {"version", "10\r\n10\r\n"}}));
    EXPECT_EQ(server_.RequestedPaths(),
              (std::vector<std::string>{"/data.dat", "/policy.dat", "/version.dat"}));
}

// A redirect on /policy.dat fails the run after "data" has arrived.
void UpdateWiringTest::FailOnPolicyAndExpectTheWindowBack() {
    const bool gridBefore = form_->GridEnabled();
    server_.On("/data.dat", {Send(Ok(kNewData))});
    server_.On("/policy.dat", {Send("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n"
                                    "Content-Length: 0\r\n\r\n")});
    ClickUpdate();
    // The commands come back with the run's last report, posted after the
    // failure's: the box has come and gone, and the steps after it have run.
    ASSERT_TRUE(WaitForCommands());

    ASSERT_EQ(boxes_.seen.size(), 1u);
    EXPECT_EQ(boxes_.seen[0].title, "Vantrel");
    EXPECT_EQ(boxes_.seen[0].text.rfind("The update failed: ", 0), 0u) << boxes_.seen[0].text;
    EXPECT_NE(boxes_.seen[0].text.find("/policy.dat"), std::string::npos) << boxes_.seen[0].text;
    EXPECT_EQ(form_->GridEnabled(), gridBefore);
    EXPECT_EQ(Progress(), 0);
    EXPECT_EQ(Files(), before_);
}

TEST_F(UpdateWiringTest, FailureShowsOneMessageAndPutsTheGridBackEnabled) {
    OpenWithUpdates();
    ASSERT_TRUE(form_->GridEnabled());
    FailOnPolicyAndExpectTheWindowBack();
    EXPECT_EQ(form_->GridModel().Cell(0, 1), "Alpha");
}

TEST_F(UpdateWiringTest, FailureWithoutAChartLeavesTheGridDisabledAsBefore) {
    OpenWithUpdates(/*withChart=*/false);
    ASSERT_FALSE(form_->GridEnabled());
    FailOnPolicyAndExpectTheWindowBack();
}

TEST_F(UpdateWiringTest, SecondUpdateWhileOneRunsIsIgnored) {
    OpenWithUpdates();
    ServeChart("10\r\n10\r\n");
    server_.On("/data.dat", {support::Pause(600ms), Send(Ok(kNewData))});
    ClickUpdate();
    ASSERT_TRUE(server_.WaitForRequest("/data.dat", 5000ms));
    EXPECT_FALSE(CommandsEnabled());
    // Past the disabled controls, straight into the handlers.
    form_->SpeedButton1Click();
    MenuItem()->trigger();
    ASSERT_TRUE(WaitForCommands());
    const auto requested = server_.RequestedPaths();
    EXPECT_EQ(std::count(requested.begin(), requested.end(), std::string("/data.dat")), 1);
    EXPECT_EQ(form_->GridModel().Cell(0, 1), "Echo");

    // Both commands start the next one once the first has ended; once it has
    // ended too, the ignored commands are seen to have started nothing.
    MenuItem()->trigger();
    EXPECT_FALSE(CommandsEnabled());
    ASSERT_TRUE(WaitForCommands());
    EXPECT_TRUE(server_.WaitForRequest("/data.dat", 5000ms, 2));
    EXPECT_EQ(server_.RequestedPaths(), (std::vector<std::string>{"/data.dat", "/policy.dat", "/version.dat",
                                                                  "/data.dat", "/policy.dat", "/version.dat"}));
}

TEST_F(UpdateWiringTest, ClosingTheWindowMidDownloadStopsAtOnceAndLeavesTheFiles) {
    OpenWithUpdates();
    ServeChart("10\r\n10\r\n");
    // A body that would take a minute: a run that missed the close would
    // still be downloading long after the bound below.
    server_.On("/policy.dat", {Send("HTTP/1.1 200 OK\r\nContent-Length: 600\r\n\r\n"),
                               support::Trickle(std::string(600, 'x'), 100ms)});
    ClickUpdate();
    ASSERT_TRUE(server_.WaitForRequest("/policy.dat", 5000ms));
    const std::string staging = dir_.Path() + "/.vantrel-update-policy.tmp";
    ASSERT_TRUE(QTest::qWaitFor([&] { std::error_code e; return std::filesystem::file_size(staging, e) > 0 && !e; },
                                20000))
        << "no byte of the body reached the staging file";

    form_->close();  // waits a grace for the run, then lets it go
    EXPECT_FALSE(bridge_->Running());
    // The worker stopped: within the grace, or let go and ended since; well
    // before its download would have.
    ASSERT_TRUE(QTest::qWaitFor([] { return update::UpdateThread::LeftBehind() == 0; }, 20000))
        << "the worker went on downloading after the close";
    EXPECT_EQ(Files(), before_);
    ASSERT_TRUE(PingBridge());  // the reports made before the close are dropped by now
    bridge_.reset();
    form_.reset();
    EXPECT_TRUE(boxes_.seen.empty());
}

TEST_F(UpdateWiringTest, ClosingWhileTheWorkerIsStuckInTheFolderDoesNotWaitForIt) {
    OpenWithUpdates();
    ServeChart("10\r\n10\r\n");
    // Another copy reading the chart from a stalled disk holds the folder's
    // lock: all three files arrive, then the commit waits for it.
    auto reader = std::make_unique<folder::ChartFolderLock>(dir_.Path(), folder::ChartFolderLock::Mode::Shared);
    ASSERT_TRUE(reader->Held());
    // The commit opens the folder itself to take its lock, after the last
    // download has closed its staging file: from then on it waits.
    support::FileEvents folder(dir_.Path(), IN_OPEN | IN_CLOSE_WRITE);
    bool staged = false, waiting = false;
    const auto commitWaits = [&] {
        for (const support::FileEvent& event : folder.Next()) {
            if ((event.mask & IN_CLOSE_WRITE) && event.name == ".vantrel-update-version.tmp") staged = true;
            if (staged && (event.mask & IN_OPEN) && event.name.empty()) waiting = true;
        }
        return waiting;
    };
    ClickUpdate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return commitWaits() || CommandsEnabled(); }, 20000));
    ASSERT_FALSE(CommandsEnabled()) << "the update ended before its commit";

    form_->close();  // comes back after the grace, the worker left behind
    EXPECT_FALSE(bridge_->Running());
    EXPECT_EQ(update::UpdateThread::LeftBehind(), 1);
    bridge_.reset();
    form_.reset();

    // The lock comes free at last: the worker ends by itself, calling on no
    // window, and frees itself.
    reader.reset();
    EXPECT_TRUE(QTest::qWaitFor([] { return update::UpdateThread::LeftBehind() == 0; }, 20000));
    EXPECT_TRUE(update::UpdateThread::AnyLeftBehind()) << "the program must still leave without its exit handlers";
    EXPECT_TRUE(boxes_.seen.empty());
}

TEST_F(UpdateWiringTest, FetchedVersionForANewerProgramStopsTheChart) {
    OpenWithUpdates();
    ServeChart("10\r\n11\r\n");
    ClickUpdate();
    ASSERT_TRUE(WaitForCommands());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !boxes_.seen.empty(); }, 5000));
    ASSERT_EQ(boxes_.seen.size(), 1u);
    EXPECT_EQ(boxes_.seen[0].text,
              std::string(chart::kNeedNewestVersionMessage) + "www.vantrel.example");
    EXPECT_FALSE(form_->GridEnabled());
    EXPECT_EQ(Progress(), 0);
}

}  // namespace
}  // namespace vantrel::ui::testing
