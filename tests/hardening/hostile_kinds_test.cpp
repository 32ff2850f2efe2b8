// Chart files that are not readable regular files: each must give the
// reader's own message at once, never block, crash or take unbounded memory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "chart/files/chart_file_set.h"
#include "chart/files/line_reader.h"
#include "support/child_process.h"
#include "hardening/hostile_fixture.h"

namespace hardening {

using support::ChildOutcome;
using support::PeakResidentBytes;
using support::RunInChild;

namespace {

using namespace std::chrono_literals;

// Replaces `name` in a good chart by what `make` puts at that path, runs the
// loading sequence in a child under a watchdog and expects only that reader's
// message.
void ExpectOnlyReaderMessage(const std::string& kind, const std::function<void(const std::string&)>& make) {
    for (const std::string name : kChartFileNames) {
        SCOPED_TRACE(kind + " as \"" + name + "\"");
        TempDir dir;
        WriteGoodChart(dir);
        const std::string path = dir.Path() + "/" + name;
        std::filesystem::remove(path);
        make(path);
        const ChildOutcome outcome =
            RunInChild([&] { return LoadChart(dir.Path()).OnlyFailed(name) ? 0 : 1; }, 10s);
        EXPECT_TRUE(outcome.finished && outcome.exitCode == 0) << outcome.Describe();
    }
}

TEST(HostileFileKinds, DirectoryFifoAndSymbolicLinksGiveTheReadersMessage) {
    ExpectOnlyReaderMessage("a directory", [](const std::string& path) {
        ASSERT_TRUE(std::filesystem::create_directory(path));
    });
    // Opening a FIFO for reading blocks until a writer comes, unless refused.
    ExpectOnlyReaderMessage("a named pipe without a writer", [](const std::string& path) {
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    });
    ExpectOnlyReaderMessage("a dangling symbolic link", [](const std::string& path) {
        std::filesystem::create_symlink(path + ".gone", path);
    });
    ExpectOnlyReaderMessage("a looping symbolic link", [](const std::string& path) {
        std::filesystem::create_symlink(path + ".loop", path);
        std::filesystem::create_symlink(path, path + ".loop");
    });
}

TEST(HostileFileKinds, FileWithoutReadPermissionGivesTheReadersMessage) {
    // Root reads any file, so the reader runs in a child that has become nobody.
    constexpr uid_t kNobody = 65534;
    constexpr int kCannotDropPrivileges = 97;
    for (const std::string name : kChartFileNames) {
        SCOPED_TRACE(name);
        TempDir dir;
        WriteGoodChart(dir);
        ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
        ASSERT_EQ(chmod((dir.Path() + "/" + name).c_str(), 0), 0);
        const ChildOutcome outcome = RunInChild(
            [&] {
                if (getuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
                    return kCannotDropPrivileges;
                return LoadChart(dir.Path()).OnlyFailed(name) ? 0 : 1;
            },
            10s);
        if (outcome.finished && outcome.exitCode == kCannotDropPrivileges)
            GTEST_SKIP() << "running as root without the right to become nobody";
        EXPECT_TRUE(outcome.finished && outcome.exitCode == 0) << outcome.Describe();
    }
}

void MakeSparseFile(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);  // a hole: no disk space used
    ::close(fd);
}

TEST(HostileFileKinds, OneGigabyteLineIsRefusedWithoutReadingIt) {
    constexpr off_t kOneGigabyte = 1LL << 30;
    constexpr long long kPeakLimit = 256LL << 20;
    for (const std::string name : kChartFileNames) {
        SCOPED_TRACE(name);
        TempDir dir;
        WriteGoodChart(dir);
        MakeSparseFile(dir.Path() + "/" + name, kOneGigabyte);
        const ChildOutcome outcome = RunInChild(
            [&] {
                if (!LoadChart(dir.Path()).OnlyFailed(name)) return 1;
                return PeakResidentBytes() < kPeakLimit ? 0 : 2;
            },
            20s);
        EXPECT_TRUE(outcome.finished && outcome.exitCode == 0) << outcome.Describe();
    }
}

TEST(HostileFileKinds, SizeCapIsInclusive) {
    TempDir dir;
    WriteGoodChart(dir);
    const std::string data = dir.Path() + "/data";
    const auto cap = static_cast<off_t>(chart::kChartFileSizeCap);

    MakeSparseFile(data, cap);  // one line of NULs, no complete record: read, not refused
    LoadResult atCap = LoadChart(dir.Path());
    EXPECT_TRUE(atCap.log.empty());
    EXPECT_TRUE(atCap.policyLoaded);

    MakeSparseFile(data, cap + 1);
    EXPECT_TRUE(LoadChart(dir.Path()).OnlyFailed("data"));

    // The line reader itself has no cap.
    chart::LineReader reader(data);
    EXPECT_EQ(reader.ReadLine().size(), chart::kChartFileSizeCap + 1);
}

}  // namespace
}  // namespace hardening
