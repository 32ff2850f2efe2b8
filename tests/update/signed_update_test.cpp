// A signed chart: with the publisher's key, each file comes with its minisign
// signature, and only a chart its publisher signed, no older than the one the
// user has, replaces it. Signatures are made by the minisign program itself.
#include <gtest/gtest.h>

#include <ctime>
#include <map>

#include "support/minisign_key.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

constexpr std::uint64_t kServedTime = kReleased;
const std::string kNotSigned = "The update failed: the chart is not signed by its publisher.";
const std::string kOlder = "The update failed: the data server sent an older chart than the one you have.";
const std::string kMixed =
    "The update failed: the chart's files are not of one release (their signatures carry different timestamps).";
const std::string kFuture = "The update failed: the chart is dated in the future; check your computer's clock.";

// The served files by path, signed by the publisher at kServedTime before a
// case changes them; a path missing is a 404.
using Served = std::map<std::string, std::string>;

// What the chart folder holds before the update.
enum class Before { OldChartUnsigned, OldChartSignedLater, ServedChartSigned };

struct SignedCase {
    const char* name;
    Before before;
    bool legacy;                         // the served signatures use the "Ed" algorithm
    void (*change)(Served&, const support::MinisignKey& key, const support::MinisignKey& other);
    std::string message;                 // empty: the served chart is put in place
};

// "/data.dat" -> "data", "/data.dat.minisig" -> "data.minisig": where it is kept.
std::string LocalName(const std::string& path) {
    return path.substr(1, path.find('.') - 1) + (path.ends_with(".minisig") ? ".minisig" : "");
}

void Unchanged(Served&, const support::MinisignKey&, const support::MinisignKey&) {}

// Flips one base64 character that encodes only key id bits.
void OtherKeyId(Served& s, const support::MinisignKey&, const support::MinisignKey&) {
    std::string& signature = s["/data.dat.minisig"];
    const std::size_t at = signature.find('\n') + 1 + 5;
    signature[at] = signature[at] == 'A' ? 'B' : 'A';
}

const SignedCase kCases[] = {
    {"Good", Before::OldChartUnsigned, false, Unchanged, ""},
    // Prehashed signatures only: the legacy algorithm's bytes are not signed.
    {"LegacyAlgorithm", Before::OldChartUnsigned, true, Unchanged, kNotSigned},
    {"SameChartAgain", Before::ServedChartSigned, false, Unchanged, ""},
    {"TamperedData", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) {
         std::string& data = s["/data.dat"];
         data.replace(data.find("program.example"), 15, "forger.example");  // another download address
     },
     kNotSigned},
    {"TamperedPolicy", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) { s["/policy.dat"] += "\r\n"; }, kNotSigned},
    {"TamperedVersion", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) { s["/version.dat"] = "9\r\n9\r\n"; }, kNotSigned},
    {"MissingSignature", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) { s.erase("/policy.dat.minisig"); }, kNotSigned},
    {"AnotherKey", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey& other) {
         s["/version.dat.minisig"] = other.Sign(s["/version.dat"], kServedTime, "version.dat");
     },
     kNotSigned},
    {"WrongKeyId", Before::OldChartUnsigned, false, OtherKeyId, kNotSigned},
    {"MalformedSignatureFile", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) {
         std::string& signature = s["/data.dat.minisig"];
         signature.erase(signature.rfind("trusted comment"));  // its last two lines
     },
     kNotSigned},
    {"TrustedCommentAltered", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) {
         std::string& signature = s["/data.dat.minisig"];
         signature.replace(signature.find("timestamp:1"), 11, "timestamp:2");
     },
     kNotSigned},
    {"OlderThanTheChartOnDisk", Before::OldChartSignedLater, false, Unchanged, kOlder},
    // One release: each signature names its own file, all carry one timestamp.
    {"DataOfAnotherRelease", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey& key, const support::MinisignKey&) {
         s["/data.dat"] += "\r\n";
         s["/data.dat.minisig"] = key.Sign(s["/data.dat"], kServedTime + 60, "data.dat");
     },
     kMixed},
    {"SignedASecondApart", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey& key, const support::MinisignKey&) {
         s["/version.dat.minisig"] = key.Sign(s["/version.dat"], kServedTime + 1, "version.dat");
     },
     kMixed},
    {"DataServedAsThePolicy", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey&, const support::MinisignKey&) {
         s["/policy.dat"] = s["/data.dat"];
         s["/policy.dat.minisig"] = s["/data.dat.minisig"];
     },
     kNotSigned},
    {"NoFileInTheTrustedComment", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey& key, const support::MinisignKey&) {
         s["/policy.dat.minisig"] = key.Sign(s["/policy.dat"], kServedTime, "");
     },
     kNotSigned},
    {"DatedAYearAhead", Before::OldChartUnsigned, false,
     [](Served& s, const support::MinisignKey& key, const support::MinisignKey&) {
         const auto ahead = static_cast<std::uint64_t>(std::time(nullptr)) + 365 * 24 * 3600;
         for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"}) {
             s[std::string(path) + ".minisig"] = key.Sign(s[path], ahead, path + 1);
         }
     },
     kFuture},
};

void PrintTo(const SignedCase& c, std::ostream* os) { *os << c.name; }

class SignedChartTest : public ChartDirTest {
protected:
    void SignChartOnDisk(std::uint64_t time) {
        for (const char* name : {"data", "policy", "version"}) {
            WriteBytes(dir_ / (std::string(name) + ".minisig"),
                       key_.Sign(ReadBytes(dir_ / name), time, std::string(name) + ".dat"));
        }
    }

    // The served chart's three files and their signatures, signed at time.
    Served SignedChart(std::uint64_t time) const {
        Served served;
        for (const auto& [path, body] : {std::pair{"/data.dat", kChartData}, {"/policy.dat", kChartPolicy},
                                         {"/version.dat", kChartVersion}}) {
            served[path] = body;
            served[std::string(path) + ".minisig"] = key_.Sign(body, time, path + 1);
        }
        return served;
    }

    support::MinisignKey key_;
    support::MinisignKey otherKey_;
};

class SignedUpdateTest : public SignedChartTest, public ::testing::WithParamInterface<SignedCase> {};

TEST_P(SignedUpdateTest, OnlyTheChartItsPublisherSignedReplacesTheChart) {
    const SignedCase& c = GetParam();
    Served served = SignedChart(kServedTime);
    if (c.legacy) {
        for (const char* path : {"/data.dat", "/policy.dat", "/version.dat"}) {
            served[std::string(path) + ".minisig"] = key_.Sign(served[path], kServedTime, path + 1, true);
        }
    }
    if (c.before == Before::OldChartSignedLater) SignChartOnDisk(kServedTime + 1);
    if (c.before == Before::ServedChartSigned) {
        for (const auto& [path, body] : served) WriteBytes(dir_ / LocalName(path), body);
    }
    std::map<std::string, std::string> before;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) before[e.path().filename()] = ReadBytes(e.path());
    c.change(served, key_, otherKey_);

    ScriptedServer server;
    for (const auto& [path, body] : served) server.On(path, {Send(Ok(body))});
    auto settings = Settings(server.Base());
    settings.publisherKey = key_.PublicKey();
    Run(settings);

    if (c.message.empty()) {
        EXPECT_EQ(port_.Calls(), kSucceeded);
        EXPECT_EQ(server.RequestedPaths(),
                  (std::vector<std::string>{"/data.dat", "/data.dat.minisig", "/policy.dat", "/policy.dat.minisig",
                                            "/version.dat", "/version.dat.minisig"}));
        // The chart and the signatures that were checked, kept beside it.
        for (const auto& [path, body] : served) EXPECT_EQ(ReadBytes(dir_ / LocalName(path)), body) << path;
    } else {
        EXPECT_EQ(Message(), c.message);
        // Exactly the files that were there, as they were (and the lock's file).
        std::map<std::string, std::string> after;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) {
            if (!IsLockFile(e.path())) after[e.path().filename()] = ReadBytes(e.path());
        }
        EXPECT_EQ(after, before);
    }
}

// A run killed while it wrote the commit marker leaves the old chart with its
// own signatures once the next start has cleared the rest, and an older
// release is still refused after it. A marker in place but cut short, at each
// of its lengths, is of neither format and refused as damaged: the start reads
// nothing and changes nothing, rather than take it for a commit without
// signatures. Only the two cuts the version before wrote whole ("" for an
// unsigned commit, "+signatures\n") are finished, as it meant them.
TEST_F(SignedChartTest, AMarkerCutShortLeavesTheOldChartWithItsSignatures) {
    SignChartOnDisk(kServedTime + 1);
    const Served older = SignedChart(kServedTime);
    for (const auto& [path, body] : older) WriteBytes(dir_ / (".vantrel-update-" + LocalName(path) + ".tmp"), body);
    const auto folderNow = [this] {
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) {
            if (!IsLockFile(e.path())) files[e.path().filename()] = ReadBytes(e.path());
        }
        return files;
    };
    const std::map<std::string, std::string> before = folderNow();
    const std::string marker = "+signatures\nend\n";
    for (std::size_t cut = 0; cut < marker.size(); ++cut) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes");
        for (const auto& [name, bytes] : before) WriteBytes(dir_ / name, bytes);
        WriteBytes(dir_ / ".vantrel-update-commit", marker.substr(0, cut));
        const auto message = RecoveryMessage(dir_);
        auto after = folderNow();
        const bool olderWhole = cut == 0 || marker.substr(0, cut) == "+signatures\n";
        if (!olderWhole) {
            EXPECT_EQ(message, "The chart was not read: the record of an unfinished update, " + dir_.string() +
                                   "/.vantrel-update-commit, is damaged, so that update cannot be finished. To keep "
                                   "the new chart, rename each .vantrel-update-NAME.tmp in " + dir_.string() +
                                   " to NAME; to keep the chart from before that update instead, rename each "
                                   ".vantrel-update-NAME.old to NAME. Then delete .vantrel-update-commit (the next "
                                   "start clears the rest), or delete every file of the chart and click Update.");
            after.erase(".vantrel-update-commit");
            EXPECT_EQ(after, before);
            continue;
        }
        // The chart files put in place, and with "+signatures" their signatures.
        EXPECT_EQ(message, std::nullopt);
        for (const auto& [path, body] : older) {
            const bool inSet = cut != 0 || path.find(".minisig") == std::string::npos;
            const std::string name = LocalName(path);
            EXPECT_EQ(after[name], inSet ? body : before.at(name)) << name;
            EXPECT_EQ(after.count(".vantrel-update-" + name + ".tmp"), inSet ? 0u : 1u) << name;
        }
        EXPECT_EQ(after.count(".vantrel-update-commit"), 0u);
        for (const auto& [name, bytes] : after) std::filesystem::remove(dir_ / name);
    }
    for (const auto& [name, bytes] : before) WriteBytes(dir_ / name, bytes);
    std::filesystem::remove(dir_ / ".vantrel-update-commit");
    // The staging files go with the start below.
    auto expected = before;
    std::erase_if(expected, [](const auto& entry) { return entry.first.starts_with(".vantrel-update-"); });
    WriteBytes(dir_ / ".vantrel-update-commit.new", marker);
    EXPECT_EQ(RecoveryMessage(dir_), std::nullopt);
    EXPECT_EQ(folderNow(), expected);

    ScriptedServer server;
    for (const auto& [path, body] : older) server.On(path, {Send(Ok(body))});
    auto settings = Settings(server.Base());
    settings.publisherKey = key_.PublicKey();
    Run(settings);
    EXPECT_EQ(Message(), kOlder);
}

INSTANTIATE_TEST_SUITE_P(Charts, SignedUpdateTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
