// Two real users share a chart folder set up as a team share (group-writable,
// sticky): what the second member plants at the names an update writes is
// never followed nor obeyed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "driver_process.h"
#include "two_users.h"
#include "support/minisign_key.h"
#include "support/scripted_server.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

// OpenForeignFile: one anyone may write to, which a hard link could reach.
enum class Plant { LinkToPrivateFile, Fifo, ForeignFile, OpenForeignFile };
struct PlantedRow {
    const char* name;
    const char* at;
    Plant plant;
    bool updates;  // false: refused at once, naming the folder
};
void PrintTo(const PlantedRow& row, std::ostream* os) { *os << row.name; }

const PlantedRow kRows[] = {
    {"LinkAtDataStaging", ".vantrel-update-data.tmp", Plant::LinkToPrivateFile, false},
    {"LinkAtVersionStaging", ".vantrel-update-version.tmp", Plant::LinkToPrivateFile, false},
    {"LinkAtPolicyBackup", ".vantrel-update-policy.old", Plant::LinkToPrivateFile, false},
    {"FifoAtCommitMarker", ".vantrel-update-commit", Plant::Fifo, false},
    {"FileAtPolicyStaging", ".vantrel-update-policy.tmp", Plant::ForeignFile, false},
    // Read as the owner's, it would roll the chart back to nothing.
    {"RollbackMarkerListingTheChart", ".vantrel-update-rollback", Plant::ForeignFile, true},
    {"CommitMarker", ".vantrel-update-commit", Plant::ForeignFile, false},
    // A signed run: the member's file at a kept signature's name is neither
    // taken for the chart's signature nor given a backup the owner could not
    // remove again.
    {"FileAtDataSignature", "data.minisig", Plant::OpenForeignFile, false},
    {"FileAtPolicySignature", "policy.minisig", Plant::ForeignFile, false},
    {"FileAtVersionSignature", "version.minisig", Plant::OpenForeignFile, false},
    {"FifoAtStagedSignature", ".vantrel-update-data.minisig.tmp", Plant::Fifo, false},
};

class SharedFolderTest : public ChartDirTest, public ::testing::WithParamInterface<PlantedRow> {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root to act as two users";
        }
        std::filesystem::permissions(tempDir_.Dir(), std::filesystem::perms(0755));
        dir_ = tempDir_.Dir() / "share";
        home_ = tempDir_.Dir() / "owner";
        std::filesystem::create_directory(dir_);
        std::filesystem::create_directory(home_);
        Give(dir_, 0, kTeam, 03770);  // group-writable, sticky, new files in the group
        Give(home_, kOwner, kTeam, 0700);
        WriteBytes(Private(), "owner's notes\n");
        Give(Private(), kOwner, kTeam, 0600);
        ChartDirTest::SetUp();
        for (const char* name : {"data", "policy", "version"}) Give(dir_ / name, kOwner, kTeam, 0644);
    }
    std::filesystem::path Private() const { return home_ / "notes.txt"; }

    std::filesystem::path home_;
};

// The owner's update fails at once naming the folder, or goes on around what
// was planted, and ends with the old chart or the new one exactly.
TEST_P(SharedFolderTest, WhatTheOtherMemberPlantsIsNeverFollowedNorObeyed) {
    const PlantedRow& row = GetParam();
    const auto at = dir_ / row.at;
    switch (row.plant) {
    case Plant::LinkToPrivateFile: std::filesystem::create_symlink(Private(), at); break;
    case Plant::Fifo: ASSERT_EQ(::mkfifo(at.c_str(), 0666), 0); break;
    case Plant::ForeignFile:
    case Plant::OpenForeignFile: WriteBytes(at, "data\npolicy\nversion\n"); break;
    }
    Give(at, kMember, kTeam, row.plant == Plant::OpenForeignFile ? 0666 : 0644);
    const bool signedRun = std::string_view(row.at).find("minisig") != std::string_view::npos;

    ScriptedServer server;
    ServeChart(server);
    const std::string errors = (tempDir_.Dir() / "stderr").string();
    const int code = WaitDriver(StartDriverAs(kOwner, kTeam, server.Base(), dir_.string(), errors,
                                              signedRun ? support::MinisignKey().PublicKey() : ""));
    const std::string message = ReadBytes(errors);

    EXPECT_EQ(ReadBytes(Private()), "owner's notes\n");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(at))) << "the member's entry stays";
    if (row.updates) {
        EXPECT_EQ(code, 0) << message;
        EXPECT_EQ(ReadBytes(dir_ / "data"), kChartData);
        EXPECT_EQ(ReadBytes(dir_ / "policy"), kChartPolicy);
        EXPECT_EQ(ReadBytes(dir_ / "version"), kChartVersion);
    } else {
        EXPECT_EQ(code, 1);
        EXPECT_EQ(message, "The update failed: the chart folder " + dir_.string() + " holds \"" + row.at +
                               "\", which is not Vantrel's own and cannot be removed.\n");
        ExpectUntouched();
        // A kept file is looked at before anything is fetched.
        if (row.at[0] != '.') {
            EXPECT_EQ(server.RequestedPaths(), std::vector<std::string>{});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Plants, SharedFolderTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
