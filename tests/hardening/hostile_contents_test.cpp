// Chart files that open fine but hold what no chart holds: noise, NUL bytes,
// or a file cut short while it is being read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "chart/details/conversion_error.h"
#include "chart/details/web_address.h"
#include "chart/files/line_reader.h"
#include "support/child_process.h"
#include "support/file_events.h"
#include "hardening/hostile_fixture.h"

namespace hardening {

using support::ChildOutcome;
using support::RunInChild;

namespace {

using namespace std::chrono_literals;

std::string Noise(std::mt19937& random, std::size_t size, std::string_view alphabet = {}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        const auto r = random();
        c = alphabet.empty() ? static_cast<char>(r & 0xFF) : alphabet[r % alphabet.size()];
    }
    return bytes;
}

// Loads the three files, then selects every cell as the user would and asks
// for every test's details. Returns a failure description, or "" when all
// held: no crash, a row count within the tables, only web addresses opened,
// and every details text in its shape.
std::string LoadAndSelectEverything(const std::string& directory) {
    Recorder rec;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form(tables, grid, chart::ChartPorts{rec, rec, rec}, directory, kHost);
    const chart::ChartSnapshot files = support::FolderSnapshot(directory);
    form.FormCreate(files);
    // Again past a version gate that stopped the load.
    chart::LoadChart(files, tables, grid, chart::LoadRules{kHost, true});
    if (grid.RowCount() < 1 || grid.RowCount() > chart::kMaxPrograms + 1) return "row count out of range";

    for (int row = 0; row <= grid.RowCount(); ++row) {
        for (int col = -1; col <= grid.ColCount(); ++col) {
            bool canSelect = true;
            try {
                form.StringGrid1SelectCell(col, row, canSelect);
            } catch (const chart::ConversionError&) {
                // a count that is not an integer: the standard error box's business
            }
            if (!canSelect) return "a selection was refused";
        }
    }
    for (int row = 1; row <= chart::kMaxPrograms; ++row) {
        for (int col = 1; col <= chart::kTestCount; ++col) {
            try {
                const std::string text = form.GetHintForTest(row, col);
                if (text.size() < 4 || text.compare(text.size() - 4, 4, "\r\n\r\n") != 0)
                    return "details text without its closing empty line";
            } catch (const chart::ConversionError&) {
            }
        }
    }
    for (const std::string& entry : rec.Log()) {
        const std::string open = "open: ";
        if (entry.rfind(open, 0) == 0 && !chart::IsWebAddress(entry.substr(open.size())))
            return "opened a non-web address: " + entry;
    }
    return "";
}

TEST(HostileFileContents, BinaryNoiseLoadsWithoutHarm) {
    std::mt19937 random(20240611);  // fixed: the same noise on every run
    // Raw bytes (a Ctrl-Z soon ends such a file), then noise made of the
    // bytes a chart is built from, so records and counts actually form.
    const std::string chartBytes = std::string("01 \n\n\r$x-+9 aA", 14) + std::string(1, '\0');
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string_view alphabet = round < 4 ? std::string_view{} : std::string_view{chartBytes};
        TempDir dir;
        dir.Write("version", Noise(random, 64, alphabet));
        dir.Write("data", Noise(random, 96 * 1024, alphabet));
        dir.Write("policy", Noise(random, 96 * 1024, alphabet));
        const ChildOutcome outcome = RunInChild(
            [&] {
                const std::string failure = LoadAndSelectEverything(dir.Path());
                if (!failure.empty()) std::fprintf(stderr, "%s\n", failure.c_str());
                return failure.empty() ? 0 : 1;
            },
            30s);
        EXPECT_TRUE(outcome.finished && outcome.exitCode == 0) << outcome.Describe();
    }
}

TEST(HostileFileContents, NulByteIsAnOrdinaryByteOfTheLine) {
    using namespace std::string_literals;
    TempDir dir;
    dir.Write("version", "1\0"s "1\n10\n");
    dir.Write("data", "http://nul.example/a\0b\nKey\0Spy\n1\0 1\na\0b 7\n"s);
    dir.Write("policy", "Ti\0tle\nSub\0one\n\n"s);

    chart::LineReader reader(dir.Path() + "/data");
    EXPECT_EQ(reader.ReadLine(), "http://nul.example/a\0b"s);

    Recorder rec;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form(tables, grid, chart::ChartPorts{rec, rec, rec}, dir.Path(), kHost);
    form.FormCreate(support::FolderSnapshot(dir.Path()));
    // "1\0" "1" sorts before "10": no notice.
    EXPECT_EQ(tables.LatestVersion, "1\0"s "1");
    EXPECT_TRUE(rec.Log().empty());
    EXPECT_EQ(grid.Cell(0, 1), "Key\0Spy"s);
    EXPECT_EQ(grid.Cell(1, 1), "a\0b"s);
    EXPECT_EQ(grid.Cell(2, 1), "7");
    EXPECT_EQ(form.GetHintForTest(1, 1), "Ti\0tle\r\nSub\0one: YES\r\n\r\n"s);

    bool canSelect = true;
    form.StringGrid1SelectCell(0, 1, canSelect);
    // No desktop can be handed a NUL (a control byte): the address is refused out loud.
    EXPECT_EQ(rec.Log(), std::vector<std::string>{"message: "s + chart::kNotWebAddressMessage + "http://nul.example/a\0b"s});
}

std::string ManyRecords(std::size_t size) {
    std::string data;
    for (int i = 0; data.size() < size; ++i) {
        const std::string n = std::to_string(i);
        data += "http://p" + n + ".example\nProgram " + n + "\n1 0 1 0 1 0\n1 2 3 4 5 6 21\n\n";
    }
    return data;
}

TEST(HostileFileContents, FileCutShortWhileReadEndsTheRead) {
    TempDir dir;
    const std::string path = dir.Path() + "/data";
    // The reader is past its first buffer when the file shrinks under it.
    dir.Write("data", ManyRecords(1 << 20));
    {
        chart::LineReader reader(path);
        std::size_t lines = 0;
        while (!reader.AtEnd() && lines < 10) reader.ReadLine(), ++lines;
        ASSERT_EQ(::truncate(path.c_str(), 100), 0);
        std::size_t bytes = 0;
        while (!reader.AtEnd()) bytes += reader.ReadLine().size() + 1;
        EXPECT_LE(bytes, chart::LineReader::kBufferSize + 100);  // what was buffered, no more
    }

    // Another thread cuts the file as soon as a load has read from it, many
    // times; a round counts when the cut began between the load's first read
    // of the file and its close. The kernel tells a cut only once its pages
    // are freed, so a touch just before it marks its start among the events.
    constexpr int kCutWhileRead = 0, kCutOtherwise = 2;
    std::mt19937 random(7);
    int cutWhileRead = 0;
    const std::string records = ManyRecords(4 << 20);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        dir.Write("version", GoodChartFile("version"));
        dir.Write("policy", GoodChartFile("policy"));
        dir.Write("data", records);
        const auto cutTo = static_cast<off_t>(random() % 4096);
        const ChildOutcome outcome = RunInChild(
            [&] {
                support::FileEvents data(path, IN_ACCESS | IN_ATTRIB | IN_CLOSE_NOWRITE);
                bool whileRead = false;
                std::latch watching(1);
                std::thread cutter([&] {
                    bool cut = false;
                    watching.count_down();
                    for (auto events = data.Next(10s); !events.empty(); events = data.Next(10s)) {
                        for (const support::FileEvent& event : events) {
                            if (event.mask & IN_CLOSE_NOWRITE) return;
                            if (event.mask & IN_ATTRIB) whileRead = true;  // the cut began before the close
                            if ((event.mask & IN_ACCESS) && !cut) {
                                cut = ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0) == 0 &&
                                      ::truncate(path.c_str(), cutTo) == 0;
                            }
                        }
                    }
                });
                watching.wait();
                const LoadResult result = LoadChart(dir.Path());
                cutter.join();
                // A cut file is a shorter file, never an error.
                if (!result.log.empty() || !result.policyLoaded) return 1;
                return whileRead ? kCutWhileRead : kCutOtherwise;
            },
            20s);
        EXPECT_TRUE(outcome.finished && (outcome.exitCode == kCutWhileRead || outcome.exitCode == kCutOtherwise))
            << outcome.Describe();
        if (outcome.finished && outcome.exitCode == kCutWhileRead) ++cutWhileRead;
    }
    EXPECT_GT(cutWhileRead, 0) << "no round cut the file while the load was reading it";
    std::printf("the file was cut while it was read in %d of 20 rounds\n", cutWhileRead);
}

}  // namespace
}  // namespace hardening
