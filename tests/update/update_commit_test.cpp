// Putting the new chart in place is all or nothing: a marked commit is finished
// wherever it was cut, staging files without a marker go, and a failed rename
// puts the old chart back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>

#include "folder/chart_folder_lock.h"
#include "folder/chart_reader.h"
#include "folder/marker_lock.h"
#include "support/scripted_server.h"
#include "support/system_call_faults.h"
#include "update/check/staged_chart_check.h"
#include "folder/chart_commit.h"
#include "folder/chart_files.h"
#include "folder/startup_recovery.h"
#include "folder/update_lock.h"
#include "folder/work_files.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

std::string NewBytes(const std::string& name) { return "new " + name + "\r\n"; }
// The marker of an unsigned commit over a whole chart.
constexpr const char* kWholeMarker = "end\n";

class UpdateCommitTest : public ChartDirTest {
protected:
    std::filesystem::path Staging(const char* name) const {
        return dir_ / (std::string(".vantrel-update-") + name + ".tmp");
    }
    std::filesystem::path Marker() const { return folder::WorkFiles(dir_.string()).CommitMarker(); }

    // The state a commit killed after `renamed` renames leaves behind.
    void LeaveCommitKilledAfter(std::size_t renamed) {
        for (std::size_t i = 0; i < folder::kChartFiles.size(); ++i) {
            const char* name = folder::kChartFiles[i].name;
            WriteBytes(i < renamed ? dir_ / name : Staging(name), NewBytes(name));
        }
        WriteBytes(Marker(), kWholeMarker);
    }
    void ExpectNewChart() const {
        for (const char* name : {"data", "policy", "version"}) {
            EXPECT_EQ(ReadBytes(dir_ / name), NewBytes(name)) << name;
        }
    }
};

TEST_F(UpdateCommitTest, AMarkedCommitIsFinishedWhereverItWasKilled) {
    for (std::size_t renamed = 0; renamed < folder::kChartFiles.size(); ++renamed) {
        SCOPED_TRACE("killed after " + std::to_string(renamed) + " renames");
        LeaveCommitKilledAfter(renamed);
        EXPECT_EQ(folder::FinishInterruptedUpdate(folder::WorkFiles(dir_.string())), std::nullopt);
        ExpectNewChart();
        ExpectNoStagingFiles();
        // Killed after the last rename, before the marker went: nothing to redo.
        WriteBytes(Marker(), kWholeMarker);
        EXPECT_EQ(folder::FinishInterruptedUpdate(folder::WorkFiles(dir_.string())), std::nullopt);
        ExpectNewChart();
        ExpectNoStagingFiles();
    }
}

// A staging file the downloads left that cannot be read is the folder's
// fault, told as such, not the data server's.
TEST_F(UpdateCommitTest, AStagingFileThatCannotBeReadIsTheFoldersFault) {
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[&] {
             std::filesystem::remove(Staging("policy"));
             ASSERT_EQ(::mkfifo(Staging("policy").c_str(), 0600), 0);
         },
         "The update failed: the chart folder " + dir_.string() +
             " holds \".vantrel-update-policy.tmp\", which is not Vantrel's own and cannot be removed."},
        {[&] { std::filesystem::remove(Staging("data")); },
         "The update failed: the file " + Staging("data").string() +
                    " could not be read (No such file or directory)."},
    };
    for (const auto& [plant, message] : rows) {
        for (const char* name : {"data", "policy", "version"}) {
            std::filesystem::remove(Staging(name));
            WriteBytes(Staging(name), NewBytes(name));
        }
        plant();
        const auto staged = update::ReadStagedChart(folder::WorkFiles(dir_.string()));
        ASSERT_FALSE(staged);
        EXPECT_EQ(update::FailureMessage(staged.Why()), message);
    }
}

TEST_F(UpdateCommitTest, WithoutAMarkerStagingFilesAreRemovedAndTheChartKept) {
    for (const char* name : {"data", "policy", "version"}) WriteBytes(Staging(name), "half a download");
    EXPECT_EQ(folder::FinishInterruptedUpdate(folder::WorkFiles(dir_.string())), std::nullopt);
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

// A start while another copy is putting its files in place (its update lock,
// the folder's lock, its marker's own) leaves them alone, and its reload
// waits for it, saying why. That copy dies part-way: the reload finishes its
// commit and reads the new chart whole, not the half it left.
TEST_F(UpdateCommitTest, AStartDuringAnotherCopysCommitReadsNoHalfOfIt) {
    LeaveCommitKilledAfter(1);
    const folder::WorkFiles files(dir_.string());
    auto updateLock = std::make_unique<folder::UpdateLock>(files);
    using Mode = folder::ChartFolderLock::Mode;
    auto folderLock = std::make_unique<folder::ChartFolderLock>(dir_.string(), Mode::Exclusive);
    auto markerLock = std::make_unique<folder::MarkerLock>(files.CommitMarker(), std::chrono::seconds(0), nullptr);
    ASSERT_TRUE(updateLock->Held() && folderLock->Held() && markerLock->Held());
    EXPECT_EQ(RecoveryMessage(dir_), std::nullopt);
    EXPECT_TRUE(folder::CommitPending(files));

    bool told = false;
    class Polls : public chart::WaitPort {
    public:
        std::function<void()> each;
        bool KeepWaiting() override {
            each();
            return true;
        }
    } window;
    window.each = [&] {
        // The copy dies once the reload has said why it waits: the kernel
        // lets go of what it held, nothing else changes.
        if (told) {
            markerLock.reset();
            folderLock.reset();
            updateLock.reset();
        }
    };
    folder::ReaderWaits waits;
    waits.window = &window;
    waits.onCommitWait = [&] { told = true; };
    waits.lockWait = std::chrono::milliseconds(50);
    const auto reload = folder::ReadChartFolder(dir_.string(), waits);
    ASSERT_EQ(reload.outcome, folder::ChartRead::Outcome::Read) << reload.message;
    EXPECT_TRUE(told);
    for (const char* name : {"data", "policy", "version"}) EXPECT_EQ(reload.snapshot->Bytes(name), NewBytes(name));
    ExpectNewChart();
    ExpectNoStagingFiles();
}

// A file put in place by something other than Vantrel while a reload reads
// it (no marker, no lock) is read again: the reload takes the file the name
// leads to once it is done, never the one it replaced beside the others.
TEST_F(UpdateCommitTest, AFileReplacedWhileReadIsReadAgain) {
    for (const char* name : {"data", "policy", "version"}) WriteBytes(dir_ / name, "old " + std::string(name) + "\r\n");
    const support::AfterFirstReadOf replaced("data", [&] {
        WriteBytes(dir_ / "data.next", NewBytes("data"));
        std::filesystem::rename(dir_ / "data.next", dir_ / "data");
    });
    const auto reload = folder::ReadChartFolder(dir_.string());
    ASSERT_TRUE(replaced.Ran());  // the reader held the old file when it was replaced
    ASSERT_EQ(reload.outcome, folder::ChartRead::Outcome::Read) << reload.message;
    EXPECT_EQ(reload.snapshot->Bytes("data"), NewBytes("data"));
    EXPECT_EQ(reload.snapshot->Bytes("policy"), "old policy\r\n");
}

// What a chart folder may hold when an update or a start meets it, and what
// must follow: the old chart exactly, the new one exactly, or (at a start) no
// chart read at all with the reason shown. Nothing of the update stays behind,
// unless it is what finishes the update later.
enum class Action {
    Update,        // a whole update run against a server with a new chart
    Commit,        // the staged files as prepared are put in place
    SignedCommit,  // the same, with the staged signatures in the set
    Start,         // the program starts in the folder
};
enum class Ends {
    OldChart,        // exactly as before, with no signatures beside it
    OldSignedChart,  // exactly as before, with the same signatures
    NoChart,         // exactly as before: there was none
    NewChart,
    NewSignedChart,  // with the new signatures
    NotLoaded,       // a start that must not read the folder; the marker stays
};

struct FolderState {
    const char* name;
    void (*prepare)(const std::filesystem::path& dir);
    Action action;
    Ends ends;
    std::string message;  // a piece of the failure message; "" for none
    // A failing disk: the chart file whose first rename onto it fails, the
    // work file whose every read fails, how many flushes of the folder fail.
    const char* renameFails = nullptr;
    const char* readFails = nullptr;
    int flushFails = 0;
};

void PrintTo(const FolderState& f, std::ostream* os) { *os << f.name; }

std::filesystem::path StagingOf(const std::filesystem::path& dir, const std::string& name) {
    return dir / (".vantrel-update-" + name + ".tmp");
}
constexpr const char* kSignatureNames[] = {"data.minisig", "policy.minisig", "version.minisig"};
std::string OldSignature(const std::string& name) { return "old " + name + "\n"; }
void MakeDirectory(const std::filesystem::path& path) {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    WriteBytes(path / "keep", "x");  // not removable by a rename onto it
}
void StageAll(const std::filesystem::path& dir) {
    for (const char* name : {"data", "policy", "version"}) WriteBytes(StagingOf(dir, name), NewBytes(name));
}
// A commit killed after "data" was renamed, its backups and marker made.
void CommitKilledAfterData(const std::filesystem::path& dir, const char* marker) {
    std::filesystem::create_hard_link(dir / "data", dir / ".vantrel-update-data.old");
    std::filesystem::create_hard_link(dir / "policy", dir / ".vantrel-update-policy.old");
    std::filesystem::create_hard_link(dir / "version", dir / ".vantrel-update-version.old");
    StageAll(dir);
    std::filesystem::rename(StagingOf(dir, "data"), dir / "data");
    WriteBytes(dir / marker, kWholeMarker);
}
void SignOldChart(const std::filesystem::path& dir) {
    for (const char* name : kSignatureNames) WriteBytes(dir / name, OldSignature(name));
}
void StageAllSigned(const std::filesystem::path& dir) {
    StageAll(dir);
    for (const char* name : kSignatureNames) WriteBytes(StagingOf(dir, name), NewBytes(name));
}
// A signed commit killed after "data" and "data.minisig" were renamed; with
// signedBefore the old chart had its signatures (and they have backups).
void SignedCommitKilledAfterData(const std::filesystem::path& dir, const char* marker, bool signedBefore) {
    std::string listed = "+signatures\n";
    if (signedBefore) SignOldChart(dir);
    for (const std::string name : {"data", "policy", "version", "data.minisig", "policy.minisig", "version.minisig"}) {
        if (std::filesystem::exists(dir / name)) {
            std::filesystem::create_hard_link(dir / name, dir / (".vantrel-update-" + name + ".old"));
        } else {
            listed += name + "\n";
        }
    }
    StageAllSigned(dir);
    std::filesystem::rename(StagingOf(dir, "data"), dir / "data");
    std::filesystem::rename(StagingOf(dir, "data.minisig"), dir / "data.minisig");
    WriteBytes(dir / marker, listed + kWholeMarker);
}

const FolderState kFolderStates[] = {
    {"DataIsADirectory", [](const auto& dir) { MakeDirectory(dir / "data"); }, Action::Update, Ends::OldChart,
     "/data could not be replaced, as it is not a regular file."},
    {"PolicyIsADirectory", [](const auto& dir) { MakeDirectory(dir / "policy"); }, Action::Update, Ends::OldChart,
     "/policy could not be replaced, as it is not a regular file."},
    {"VersionIsADirectory", [](const auto& dir) { MakeDirectory(dir / "version"); }, Action::Update,
     Ends::OldChart, "/version could not be replaced, as it is not a regular file."},
    {"PolicyLinksToADirectory",
     [](const auto& dir) {
         std::filesystem::create_directory(dir / "elsewhere");
         std::filesystem::remove(dir / "policy");
         std::filesystem::create_directory_symlink("elsewhere", dir / "policy");
     },
     Action::Update, Ends::OldChart, "/policy could not be replaced, as it is not a regular file."},
    {"VersionIsAFifo",
     [](const auto& dir) {
         std::filesystem::remove(dir / "version");
         ASSERT_EQ(::mkfifo((dir / "version").c_str(), 0600), 0);
     },
     Action::Update, Ends::OldChart, "/version could not be replaced, as it is not a regular file."},
    {"DataLinksToAFile",
     [](const auto& dir) {
         std::filesystem::rename(dir / "data", dir / "linked");
         std::filesystem::create_symlink("linked", dir / "data");
     },
     Action::Update, Ends::NewChart, ""},
    {"CommitMarkerIsADirectory", [](const auto& dir) { MakeDirectory(dir / ".vantrel-update-commit"); },
     Action::Update, Ends::OldChart, "holds \".vantrel-update-commit\", which is not Vantrel's own"},

    // A rename that fails part-way (here the third, onto "version"): the
    // renames already made are undone.
    {"RenameFailsPartWay", [](const auto& dir) { StageAll(dir); }, Action::Commit, Ends::OldChart,
     "/version could not be written (Input/output error).", "version"},
    // In a shared folder the chart files may be another member's: their
    // backups are too, and still go back.
    {"RenameFailsPartWayOverAnotherUsersChart",
     [](const auto& dir) {
         for (const char* name : {"data", "policy", "version"}) {
             static_cast<void>(::chown((dir / name).c_str(), 65534, 65534));  // as root
         }
         StageAll(dir);
     },
     Action::Commit, Ends::OldChart, "/version could not be written (Input/output error).", "version"},
    {"RenameFailsPartWayWithNoChartBefore",
     [](const auto& dir) {
         for (const char* name : {"data", "policy", "version"}) std::filesystem::remove(dir / name);
         StageAll(dir);
     },
     Action::Commit, Ends::NoChart, "/version could not be written (Input/output error).", "version"},
    // A staging name that holds anything but the user's own file stops the
    // commit before anything is moved aside.
    {"StagingNameIsAFolder",
     [](const auto& dir) {
         StageAll(dir);
         MakeDirectory(StagingOf(dir, "version"));
     },
     Action::Commit, Ends::OldChart, "holds \".vantrel-update-version.tmp\", which is not Vantrel's own"},
    {"StagingFileMissing",
     [](const auto& dir) {
         StageAll(dir);
         std::filesystem::remove(StagingOf(dir, "policy"));
     },
     Action::Commit, Ends::OldChart, "/.vantrel-update-policy.tmp could not be read (No such file or directory)."},

    // The signatures are put in place with the chart, or neither is (here the
    // fifth rename fails, onto "policy.minisig").
    {"SignedRenameFailsPartWay",
     [](const auto& dir) {
         SignOldChart(dir);
         StageAllSigned(dir);
     },
     Action::SignedCommit, Ends::OldSignedChart, "/policy.minisig could not be written (Input/output error).",
     "policy.minisig"},
    {"SignedRenameFailsPartWayWithNoSignaturesBefore", [](const auto& dir) { StageAllSigned(dir); },
     Action::SignedCommit, Ends::OldChart, "/version.minisig could not be written (Input/output error).",
     "version.minisig"},

    // A start after a kill.
    {"KilledDuringACommit", [](const auto& dir) { CommitKilledAfterData(dir, ".vantrel-update-commit"); },
     Action::Start, Ends::NewChart, ""},
    {"KilledDuringARollBack", [](const auto& dir) { CommitKilledAfterData(dir, ".vantrel-update-rollback"); },
     Action::Start, Ends::OldChart, ""},
    // A staging file lost although the marker made it durable (a sync that
    // did not hold): its chart file is still the backup's, so the commit
    // cannot be finished and is rolled back.
    {"KilledDuringACommitThatLostAStagingFile",
     [](const auto& dir) {
         CommitKilledAfterData(dir, ".vantrel-update-commit");
         std::filesystem::remove(StagingOf(dir, "policy"));
     },
     Action::Start, Ends::OldChart, ""},
    // Without hard links (FAT) each chart file is moved to its backup name
    // just before the staging file goes over it.
    {"KilledWithAFileMovedAside",
     [](const auto& dir) {
         StageAll(dir);
         WriteBytes(dir / ".vantrel-update-commit", kWholeMarker);
         std::filesystem::rename(dir / "data", dir / ".vantrel-update-data.old");
     },
     Action::Start, Ends::NewChart, ""},
    {"KilledWithAFileMovedAsideAndItsStagingFileLost",
     [](const auto& dir) {
         StageAll(dir);
         WriteBytes(dir / ".vantrel-update-commit", kWholeMarker);
         std::filesystem::rename(dir / "data", dir / ".vantrel-update-data.old");
         std::filesystem::remove(StagingOf(dir, "data"));
     },
     Action::Start, Ends::OldChart, ""},
    // Where a rename does not replace an existing file (FAT through FUSE),
    // the file is removed first: killed in between, the staging file or the
    // backup is still there to be renamed.
    {"KilledBetweenRemovingAChartFileAndRenamingOntoIt",
     [](const auto& dir) {
         StageAll(dir);
         WriteBytes(dir / ".vantrel-update-commit", kWholeMarker);
         std::filesystem::remove(dir / "data");
     },
     Action::Start, Ends::NewChart, ""},
    {"KilledBetweenRemovingANewFileAndPuttingItsBackupBack",
     [](const auto& dir) {
         CommitKilledAfterData(dir, ".vantrel-update-rollback");
         std::filesystem::remove(dir / "data");
     },
     Action::Start, Ends::OldChart, ""},
    {"KilledDuringTheRollBackOfAFirstChart",
     [](const auto& dir) {
         for (const char* name : {"data", "policy", "version"}) std::filesystem::remove(dir / name);
         StageAll(dir);
         std::filesystem::rename(StagingOf(dir, "data"), dir / "data");
         WriteBytes(dir / ".vantrel-update-rollback", "data\npolicy\nversion\nend\n");
     },
     Action::Start, Ends::NoChart, ""},
    {"KilledDuringASignedCommit",
     [](const auto& dir) { SignedCommitKilledAfterData(dir, ".vantrel-update-commit", true); }, Action::Start,
     Ends::NewSignedChart, ""},
    {"KilledDuringTheFirstSignedCommit",
     [](const auto& dir) { SignedCommitKilledAfterData(dir, ".vantrel-update-commit", false); }, Action::Start,
     Ends::NewSignedChart, ""},
    // The chart whole but a signature lost: the old chart and its signatures.
    {"KilledDuringASignedCommitThatLostASignature",
     [](const auto& dir) {
         SignedCommitKilledAfterData(dir, ".vantrel-update-commit", true);
         std::filesystem::remove(StagingOf(dir, "version.minisig"));
     },
     Action::Start, Ends::OldSignedChart, ""},
    {"KilledDuringTheRollBackOfAFirstSignedCommit",
     [](const auto& dir) { SignedCommitKilledAfterData(dir, ".vantrel-update-rollback", false); }, Action::Start,
     Ends::OldChart, ""},
    // A roll-back whose last flush fails is not done: its marker stays, so
    // nothing is read and no update starts over the restored files.
    {"RollBackWhoseFlushFails", [](const auto& dir) { CommitKilledAfterData(dir, ".vantrel-update-rollback"); },
     Action::Start, Ends::NotLoaded, "could not be written (Input/output error).", nullptr, nullptr, 1},
    // A marker that cannot be read stops recovery where it is, as a failed
    // flush does: acting on a guess could put a chart beside the wrong
    // signatures.
    {"MarkerUnreadable",
     [](const auto& dir) { SignedCommitKilledAfterData(dir, ".vantrel-update-commit", true); }, Action::Start,
     Ends::NotLoaded, "/.vantrel-update-commit, could not be read (Input/output error), so that update", nullptr,
     ".vantrel-update-commit"},
    {"RollBackMarkerUnreadable",
     [](const auto& dir) { SignedCommitKilledAfterData(dir, ".vantrel-update-rollback", true); }, Action::Start,
     Ends::NotLoaded, "/.vantrel-update-rollback, could not be read (Input/output error), so that update", nullptr,
     ".vantrel-update-rollback"},
    // Neither this version's nor the one before's: what the user can do.
    {"MarkerOfNeitherFormat",
     [](const auto& dir) {
         CommitKilledAfterData(dir, ".vantrel-update-commit");
         WriteBytes(dir / ".vantrel-update-commit", "data\nend");
     },
     Action::Start, Ends::NotLoaded,
     "/.vantrel-update-commit, is damaged, so that update cannot be finished. To keep the new chart, rename "
     "each .vantrel-update-NAME.tmp in "},
    {"MarkerGrownOverItsSize",
     [](const auto& dir) {
         CommitKilledAfterData(dir, ".vantrel-update-commit");
         WriteBytes(dir / ".vantrel-update-commit", std::string(5000, '\n') + kWholeMarker);
     },
     Action::Start, Ends::NotLoaded, "/.vantrel-update-commit, could not be read (File too large)"},
    {"KilledDuringACommitThatCannotBeFinished",
     [](const auto& dir) {
         CommitKilledAfterData(dir, ".vantrel-update-commit");
         std::filesystem::remove(dir / ".vantrel-update-policy.old");
         MakeDirectory(dir / "policy");
     },
     Action::Start, Ends::NotLoaded, "/policy could not be written (Is a directory)."},
    {"FailedUpdateBesideADirectoryMarker",
     [](const auto& dir) {
         StageAll(dir);
         MakeDirectory(dir / ".vantrel-update-commit");
     },
     Action::Start, Ends::OldChart, ""},
    {"LeftoversWithoutAMarker",
     [](const auto& dir) {
         StageAll(dir);
         std::filesystem::create_hard_link(dir / "data", dir / ".vantrel-update-data.old");
     },
     Action::Start, Ends::OldChart, ""},
};

// Each row on a file system of POSIX rules, and on one of FAT's through FUSE
// (a rename never replaces a file, no hard links) during the action.
class FolderStateTest : public UpdateCommitTest,
                        public ::testing::WithParamInterface<std::tuple<FolderState, bool>> {
protected:
    // True when a file of the chart's or of an update's is a regular file here.
    bool HasFile(const std::filesystem::path& path) const {
        return std::filesystem::is_regular_file(std::filesystem::symlink_status(path));
    }
};

TEST_P(FolderStateTest, EndsWithOneWholeChart) {
    const auto& [f, fatRules] = GetParam();
    f.prepare(dir_);

    std::optional<std::string> message;
    {
        const support::RenamesFail renames(f.renameFails ? f.renameFails : "", EIO);
        const support::ReadsFail reads(f.readFails ? f.readFails : "", EIO);
        const support::FolderFlushesFail flushes(f.flushFails);
        const support::FatRulesDuring rules(fatRules);
        switch (f.action) {
        case Action::Update: {
            ScriptedServer server;
            ServeChart(server);
            Run(Settings(server.Base()));
            EXPECT_EQ(port_.Messages().size(), f.message.empty() ? 0u : 1u);
            if (!port_.Messages().empty()) message = port_.Messages().front();
            break;
        }
        case Action::Commit:
        case Action::SignedCommit: {
            const auto set = folder::StagedSet(f.action == Action::SignedCommit);
            const folder::WorkFiles files(dir_.string());
            if (const auto failure = folder::CommitStagingFiles(files, set)) {
                message = update::FailureMessage(update::FromFolder(*failure));
                folder::DiscardStagingFiles(files);  // as the worker's run ends
            }
            break;
        }
        case Action::Start:
            message = RecoveryMessage(dir_);
            break;
        }
    }
    EXPECT_EQ(message.has_value(), !f.message.empty()) << message.value_or("");
    if (message) {
        EXPECT_NE(message->find(f.message), std::string::npos) << *message;
    }

    switch (f.ends) {
    case Ends::OldSignedChart:
        for (const char* name : kSignatureNames) EXPECT_EQ(ReadBytes(dir_ / name), OldSignature(name)) << name;
        [[fallthrough]];
    case Ends::OldChart:
        // What was put in place of a chart file (a directory, a FIFO) stays.
        for (const auto& [name, bytes] : {std::pair{"data", kOldData}, {"policy", kOldPolicy},
                                          {"version", kOldVersion}}) {
            const auto path = dir_ / name;
            ASSERT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(path))) << name;
            if (std::filesystem::is_regular_file(path)) {
                EXPECT_EQ(ReadBytes(path), bytes) << name;
            }
        }
        if (f.ends == Ends::OldChart) {
            for (const char* name : kSignatureNames) EXPECT_FALSE(HasFile(dir_ / name)) << name;
        }
        break;
    case Ends::NoChart:
        for (const char* name : {"data", "policy", "version"}) EXPECT_FALSE(HasFile(dir_ / name)) << name;
        break;
    case Ends::NewSignedChart:
        for (const char* name : kSignatureNames) EXPECT_EQ(ReadBytes(dir_ / name), NewBytes(name)) << name;
        [[fallthrough]];
    case Ends::NewChart:
        if (f.action == Action::Update) {
            EXPECT_EQ(ReadBytes(dir_ / "data"), kChartData);
            EXPECT_EQ(ReadBytes(dir_ / "policy"), kChartPolicy);
            EXPECT_EQ(ReadBytes(dir_ / "version"), kChartVersion);
        } else {
            ExpectNewChart();
        }
        break;
    case Ends::NotLoaded:
        EXPECT_TRUE(folder::CommitPending(folder::WorkFiles(dir_.string())));
        return;  // what finishes the update later stays
    }
    for (const auto& file : folder::kStagedFiles) {
        const std::string name = file.name;
        EXPECT_FALSE(HasFile(StagingOf(dir_, name))) << name;
        EXPECT_FALSE(HasFile(dir_ / (std::string(".vantrel-update-") + name + ".old"))) << name;
    }
    EXPECT_FALSE(folder::CommitPending(folder::WorkFiles(dir_.string())));
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderStateTest, ::testing::Combine(::testing::ValuesIn(kFolderStates), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_FatRules" : "");
                         });

}  // namespace
}  // namespace update_test
