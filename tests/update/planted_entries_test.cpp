// Whatever someone else put at a name the update writes (a link, a FIFO, a
// folder, another user's file) is never written through, waited on or obeyed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

#include "support/scripted_server.h"
#include "folder/startup_recovery.h"
#include "folder/work_files.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

enum class Kind { LinkOutside, Fifo, Folder, OtherUsersFile };
enum class When { DuringAnUpdate, BeforeAStart };

const char* const kNames[] = {
    ".vantrel-update-data.tmp",   ".vantrel-update-policy.tmp", ".vantrel-update-version.tmp",
    ".vantrel-update-data.old",   ".vantrel-update-policy.old", ".vantrel-update-version.old",
    ".vantrel-update-commit",     ".vantrel-update-rollback",   ".vantrel-update.lock",
    ".vantrel-update-commit.new",
    // A signed run's: the staged signatures, and those kept beside the chart.
    ".vantrel-update-data.minisig.tmp", ".vantrel-update-policy.minisig.tmp", ".vantrel-update-version.minisig.tmp",
    "data.minisig", "policy.minisig", "version.minisig",
};
constexpr uid_t kNobody = 65534;
// Read as a roll-back marker, this would delete the whole chart.
const std::string kPlantedBytes = "data\npolicy\nversion\n";

class PlantedEntryTest : public ChartDirTest,
                         public ::testing::WithParamInterface<std::tuple<const char*, Kind, When>> {
protected:
    void Plant(const std::filesystem::path& at, Kind kind) {
        switch (kind) {
        case Kind::LinkOutside:
            std::filesystem::create_symlink(outside_, at);
            if (::lchown(at.c_str(), kNobody, kNobody) != 0) {
                GTEST_SKIP() << "needs root to give a link away";
            }
            break;
        case Kind::Fifo: ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); break;
        case Kind::Folder:
            std::filesystem::create_directory(at);
            WriteBytes(at / "keep", "x");
            break;
        case Kind::OtherUsersFile:
            WriteBytes(at, kPlantedBytes);
            if (::chown(at.c_str(), kNobody, kNobody) != 0) {
                GTEST_SKIP() << "needs root to give a file away";
            }
            break;
        }
    }

    support::TempDir elsewhere_{"vantrel-outside"};
    std::filesystem::path outside_ = elsewhere_.Dir() / "notes.txt";
};

// An update removes what it can and otherwise fails at once naming the folder;
// a start leaves it alone and reads the chart as it stands; the file a link
// leads to outside stays as it was.
TEST_P(PlantedEntryTest, IsNeitherFollowedNorObeyed) {
    const auto [name, kind, when] = GetParam();
    WriteBytes(outside_, "private notes\n");
    std::filesystem::permissions(outside_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const auto planted = dir_ / name;
    Plant(planted, kind);
    if (IsSkipped()) return;

    const std::string_view at = name;
    const bool isLock = at == kLockFileName;
    const bool isRollback = at == ".vantrel-update-rollback";
    const bool signedRun = at.find("minisig") != std::string_view::npos;
    const bool isKeptSignature = signedRun && at[0] != '.';
    bool newChart = false;
    if (when == When::DuringAnUpdate) {
        ScriptedServer server;
        const support::MinisignKey key;
        ServeChart(server, signedRun ? &key : nullptr);
        auto settings = Settings(server.Base());
        if (signedRun) settings.publisherKey = key.PublicKey();
        Run(settings);
        // Removable entries are cleared (the tests run as root, who may
        // remove another user's file); a folder is never cleared, and the lock
        // file is used as it is, when it is a file at all. Another user's
        // file at a kept signature's name is neither replaced nor backed up.
        const bool blocks = isLock            ? kind != Kind::OtherUsersFile
                            : isKeptSignature ? kind == Kind::Folder || kind == Kind::OtherUsersFile
                                              : kind == Kind::Folder && !isRollback;
        newChart = !blocks;
        if (blocks) {
            EXPECT_EQ(Message(), "The update failed: the chart folder " + dir_.string() + " holds \"" + name +
                                     "\", which is not Vantrel's own and cannot be removed.");
        }
    } else {
        EXPECT_EQ(RecoveryMessage(dir_), std::nullopt);
        // Left alone, whatever it is.
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(planted)));
    }
    EXPECT_EQ(ReadBytes(outside_), "private notes\n");
    EXPECT_EQ(ReadBytes(dir_ / "data"), newChart ? kChartData : kOldData);
    EXPECT_EQ(ReadBytes(dir_ / "policy"), newChart ? kChartPolicy : kOldPolicy);
    EXPECT_EQ(ReadBytes(dir_ / "version"), newChart ? kChartVersion : kOldVersion);
    const folder::WorkFiles files(dir_.string());
    for (const auto& file : folder::kStagedFiles) {
        EXPECT_FALSE(files.IsOwn(files.Staging(file)) || files.IsOwn(files.Backup(file), true)) << file.name;
    }
    EXPECT_FALSE(files.IsOwn(files.CommitMarker()) || files.IsOwn(files.RollbackMarker()) ||
                 files.IsOwn(files.CommitMarkerBeingWritten()));
}

std::string NameOf(const ::testing::TestParamInfo<std::tuple<const char*, Kind, When>>& info) {
    static const char* const kKinds[] = {"LinkOutside", "Fifo", "Folder", "OtherUsersFile"};
    std::string name = std::get<0>(info.param);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name + "_" + kKinds[static_cast<int>(std::get<1>(info.param))] +
           (std::get<2>(info.param) == When::DuringAnUpdate ? "_DuringAnUpdate" : "_BeforeAStart");
}

INSTANTIATE_TEST_SUITE_P(
    Names, PlantedEntryTest,
    ::testing::Combine(::testing::ValuesIn(kNames),
                       ::testing::Values(Kind::LinkOutside, Kind::Fifo, Kind::Folder, Kind::OtherUsersFile),
                       ::testing::Values(When::DuringAnUpdate, When::BeforeAStart)),
    NameOf);

}  // namespace
}  // namespace update_test
