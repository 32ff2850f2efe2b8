// Where the chart lives: beside the program when it may write there, else in
// the user's own data folder, seeded from the program's sample chart.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "chart/files/chart_directory.h"
#include "chart/files/local_path.h"
#include "chart_fixture.h"
#include "support/child_process.h"

namespace chart {
namespace {

using namespace std::chrono_literals;
using chart_test::Recorder;
using chart_test::TempDir;

constexpr uid_t kNobody = 65534;
constexpr int kCannotDropPrivileges = 97;
const char* const kNames[] = {"data", "policy", "version"};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(missing)";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A program folder holding the sample chart that only root may write, and a
// home folder that belongs to nobody.
class ChartDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto canDrop = support::RunInChild(
            [] { return setgid(kNobody) == 0 && setuid(kNobody) == 0 ? 0 : kCannotDropPrivileges; }, 10s);
        if (!canDrop.finished || canDrop.exitCode != 0)
            GTEST_SKIP() << "needs root's right to become nobody";
        ASSERT_EQ(chmod(root_.Path().c_str(), 0755), 0);
        ASSERT_EQ(mkdir(program_.c_str(), 0755), 0);
        ASSERT_EQ(mkdir(home_.c_str(), 0755), 0);
        ASSERT_EQ(chown(home_.c_str(), kNobody, kNobody), 0);
        for (const char* name : kNames) std::ofstream(program_ + "/" + name) << "sample " << name;
    }

    // Runs the choice as nobody (the tests run as root, who may write
    // anywhere); what it chose and said come back through a pipe.
    void ChooseAsNobody(const ChartDirectoryPlaces& places) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const auto outcome = support::RunInChild(
            [&] {
                close(pipeEnds[0]);
                if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return kCannotDropPrivileges;
                Recorder rec;
                std::string report = ChooseChartDirectory(places, rec);
                for (const auto& line : rec.Log()) report += "\n" + line;
                return write(pipeEnds[1], report.data(), report.size()) == ssize_t(report.size()) ? 0 : 1;
            },
            10s);
        close(pipeEnds[1]);
        std::string report;
        char buffer[4096];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
        close(pipeEnds[0]);
        ASSERT_TRUE(outcome.finished && outcome.exitCode == 0) << outcome.Describe();
        const auto newline = report.find('\n');
        chosen_ = report.substr(0, newline);
        messages_ = newline == std::string::npos ? "" : report.substr(newline + 1);
    }

    void ExpectFiles(const std::string& directory, const std::string& prefix) {
        for (const char* name : kNames)
            EXPECT_EQ(Slurp(directory + "/" + name), prefix + name) << directory << " " << name;
    }

    TempDir root_;
    const std::string program_ = root_.Path() + "/program";
    const std::string home_ = root_.Path() + "/home";
    const std::string own_ = home_ + "/data-home/vantrel";
    std::string chosen_, messages_;
};

TEST_F(ChartDirectoryTest, AWritableProgramFolderKeepsTheChart) {
    Recorder rec;
    EXPECT_EQ(ChooseChartDirectory({program_, home_ + "/data-home", home_}, rec), program_);
    EXPECT_TRUE(rec.Log().empty());
    EXPECT_FALSE(std::filesystem::exists(home_ + "/data-home"));
}

// No /proc/self/exe: no chart folder, not the current folder instead, and no
// path made from it names a file.
TEST_F(ChartDirectoryTest, AnUnknownProgramFolderIsNoChartFolder) {
    Recorder rec;
    EXPECT_EQ(ChooseChartDirectory({"", home_ + "/data-home", home_}, rec), "");
    EXPECT_EQ(rec.Log(), (std::vector<std::string>{
                           "message: The chart cannot be shown or updated: the program's own folder "
                           "could not be found (/proc/self/exe cannot be read)."}));
    EXPECT_FALSE(std::filesystem::exists(home_ + "/data-home"));
    EXPECT_EQ(LocalPath("", "data"), "");
}

TEST_F(ChartDirectoryTest, FirstStartCopiesTheSampleIntoTheUsersOwnFolder) {
    ChooseAsNobody({program_, home_ + "/data-home", home_});
    EXPECT_EQ(chosen_, own_);
    EXPECT_EQ(messages_, "");
    ExpectFiles(own_, "sample ");
    struct stat info {};
    ASSERT_EQ(stat(own_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(own_), {}), 3) << "no temporary left";
}

TEST_F(ChartDirectoryTest, LaterStartsKeepTheUsersChartAndRestoreAMissingFile) {
    ChooseAsNobody({program_, home_ + "/data-home", home_});
    for (const char* name : kNames) std::ofstream(own_ + "/" + name) << "updated " << name;
    std::filesystem::remove(own_ + "/policy");
    ChooseAsNobody({program_, home_ + "/data-home", home_});
    EXPECT_EQ(chosen_, own_);
    EXPECT_EQ(Slurp(own_ + "/data"), "updated data");
    EXPECT_EQ(Slurp(own_ + "/policy"), "sample policy");
    EXPECT_EQ(Slurp(own_ + "/version"), "updated version");
}

TEST_F(ChartDirectoryTest, WithoutDataHomeTheFolderIsUnderTheHomesLocalShare) {
    for (const char* dataHome : {"", "relative/path"}) {
        ChooseAsNobody({program_, dataHome, home_});
        EXPECT_EQ(chosen_, home_ + "/.local/share/vantrel") << dataHome;
        ExpectFiles(chosen_, "sample ");
    }
}

TEST_F(ChartDirectoryTest, NoFolderToWriteIsSaidOnceAndTheSampleIsShown) {
    const std::string rootOwned = root_.Path() + "/not-yours";
    ASSERT_EQ(mkdir(rootOwned.c_str(), 0755), 0);
    const std::string start = "message: The chart cannot be updated: the program's folder " + program_ +
                              " is read-only, and ";
    const std::string end = " The chart beside the program is shown.";
    const struct {
        ChartDirectoryPlaces places;
        std::string why;
    } cases[] = {
        {{program_, rootOwned, home_},
         "the folder " + rootOwned + "/vantrel could not be created or written (Permission denied)."},
        {{program_, "", ""}, "no folder of your own is known for it (neither XDG_DATA_HOME nor HOME is set)."},
    };
    for (const auto& c : cases) {
        ChooseAsNobody(c.places);
        EXPECT_EQ(chosen_, program_);
        EXPECT_EQ(messages_, start + c.why + end);
    }
    ExpectFiles(program_, "sample ");
}

}  // namespace
}  // namespace chart
