#pragma once
// What the update tests share: a chart directory holding an older chart, a
// port that records the worker's calls, and a way to run one update to its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/lock_files.h"
#include "support/minisign_key.h"
#include "support/scripted_server.h"
#include "support/temp_dir.h"
#include "support/test_data.h"
#include "support/update_port_recorder.h"
#include "folder/startup_recovery.h"
#include "update/tmt.h"

namespace update_test {

// The shared server's script steps read as a table in these tests.
using namespace support;
using RecordingPort = support::UpdatePortRecorder;

inline std::string ReadBytes(const std::filesystem::path& path) { return support::ReadFile(path); }

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// When the served chart's release was signed (ChartDirTest::ServeChart): in
// the past, as every release is.
inline constexpr std::uint64_t kReleased = 1'750'000'000;

// The port calls of a run, up to where it ends.
inline const std::vector<std::string> kSucceeded{
    "grid off", "progress 0", "progress 33", "progress 66", "progress 100", "progress 0",
    "ReadAll", "finished"};
inline const std::vector<std::string> kFailedOnData{
    "grid off", "progress 0", "progress 33", "failed", "finished"};
inline const std::vector<std::string> kFailedOnPolicy{
    "grid off", "progress 0", "progress 33", "progress 66", "failed", "finished"};
// Refused once all three had arrived (the staged files were no chart), or
// before anything began (another copy holds the chart folder).
inline const std::vector<std::string> kFailedAfterDownloads{
    "grid off", "progress 0", "progress 33", "progress 66", "progress 100", "progress 0",
    "failed", "finished"};
inline const std::vector<std::string> kFailedAtOnce{"grid off", "progress 0", "failed", "finished"};

// What start-up tells instead of reading the chart, as the window shows it.
inline std::optional<std::string> RecoveryMessage(const std::filesystem::path& dir) {
    const auto failure = folder::RecoverChartFolder(dir.string());
    if (!failure) return std::nullopt;
    return folder::NotReadMessage(*failure);
}

class ChartDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir_ / "data", kOldData);
        WriteBytes(dir_ / "policy", kOldPolicy);
        WriteBytes(dir_ / "version", kOldVersion);
    }

    update::UpdateSettings Settings(const std::string& base) const {
        update::UpdateSettings s;
        s.baseUrl = base;
        s.chartDirectory = dir_.string();
        s.connectTimeout = std::chrono::seconds(5);
        s.stallTimeout = std::chrono::milliseconds(400);
        s.updateDeadline = std::chrono::seconds(4);
        return s;
    }

    // Serves the small chart (kChartData, ...) at its three paths; with a key,
    // each with its signature beside it, the three signed as one release.
    void ServeChart(ScriptedServer& server, const support::MinisignKey* key = nullptr) const {
        for (const auto& [path, body] : {std::pair{"/data.dat", kChartData}, {"/policy.dat", kChartPolicy},
                                         {"/version.dat", kChartVersion}}) {
            server.On(path, {Send(Ok(body))});
            if (key) server.On(path + std::string(".minisig"), {Send(Ok(key->Sign(body, kReleased, path + 1)))});
        }
    }

    // Runs one update to its end and returns the port's record of it.
    void Run(const update::UpdateSettings& settings) {
        update::Tmt worker(port_, settings);
        ASSERT_TRUE(port_.WaitFinished()) << "the update never finished";
    }

    void ExpectUntouched() const {
        EXPECT_EQ(ReadBytes(dir_ / "data"), kOldData);
        EXPECT_EQ(ReadBytes(dir_ / "policy"), kOldPolicy);
        EXPECT_EQ(ReadBytes(dir_ / "version"), kOldVersion);
    }
    // Only data, policy and version are left in the directory (and the
    // update lock's files, which stay once made).
    void ExpectNoStagingFiles() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) {
            if (!IsLockFile(e.path())) names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"data", "policy", "version"}));
    }
    std::string Message() const {
        const auto m = port_.Messages();
        return m.size() == 1 ? m.front() : "(" + std::to_string(m.size()) + " messages)";
    }

    // Read as each test starts, so a missing file fails that test alone.
    // A small chart that reads as one: a complete program record, a complete test.
    const std::string kChartData = TestData("charts/small/data");
    const std::string kChartPolicy = TestData("charts/small/policy");
    const std::string kChartVersion = TestData("charts/small/version");
    static inline const char* kLockFileName = ".vantrel-update.lock";
    static bool IsLockFile(const std::filesystem::path& path) { return support::IsUpdateLockFile(path); }

    const std::string kOldData = TestData("charts/old/data");
    const std::string kOldPolicy = TestData("charts/old/policy");
    const std::string kOldVersion = TestData("charts/old/version");

    support::TempDir tempDir_{"vantrel-update"};
    std::filesystem::path dir_ = tempDir_.Dir();
    RecordingPort port_;
};

}  // namespace update_test
