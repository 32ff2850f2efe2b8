// The line reader: line ends, Ctrl-Z, long lines, failures to open, a file growing past the cap.
#include "chart/files/line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include <string>
#include <vector>

#include "chart_fixture.h"

namespace chart {
namespace {

using chart_test::TempDir;

std::vector<std::string> ReadAllLines(LineReader& reader) {
    std::vector<std::string> lines;
    while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
    EXPECT_EQ(reader.ReadLine(), "");  // reading at the end is no error
    EXPECT_TRUE(reader.AtEnd());
    return lines;
}

// The lines of the file holding bytes, read from the file and from its
// bytes alike.
std::vector<std::string> ReadLines(const TempDir& dir, const std::string& bytes) {
    dir.Write("f", bytes);
    LineReader fromFile(dir.Path() + "/f");
    LineReader fromBytes(ByteInput{bytes});
    const auto lines = ReadAllLines(fromFile);
    EXPECT_EQ(ReadAllLines(fromBytes), lines);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, LineEndsAndCarriageReturns) {
    TempDir dir;
    EXPECT_EQ(ReadLines(dir, "a\rb\nc"), (Lines{"ab", "c"}));
    EXPECT_EQ(ReadLines(dir, ""), Lines{});
    EXPECT_EQ(ReadLines(dir, "x\n"), Lines{"x"});  // no empty line after a final LF
    EXPECT_EQ(ReadLines(dir, "x\n\n"), (Lines{"x", ""}));
    EXPECT_EQ(ReadLines(dir, "one\r\ntwo\r\n\r\n"), (Lines{"one", "two", ""}));
    EXPECT_EQ(ReadLines(dir, "\r\r\n\r"), (Lines{"", ""}));
    EXPECT_EQ(ReadLines(dir, std::string("\0\xff\t \n", 5)), Lines{std::string("\0\xff\t ", 4)});
}

TEST(LineReader, CtrlZEndsTheLineAndTheFile) {
    TempDir dir;
    EXPECT_EQ(ReadLines(dir, "ab\x1A" "cd\nef\n"), Lines{"ab"});
    EXPECT_EQ(ReadLines(dir, "ab\n\x1A" "cd\n"), Lines{"ab"});
    EXPECT_EQ(ReadLines(dir, "\x1A"), Lines{});
}

TEST(LineReader, LinesLongerThanTheBuffer) {
    TempDir dir;
    std::string longLine(3 * LineReader::kBufferSize + 17, 'y');
    // A CR LF split across a buffer boundary is still one line end.
    longLine[LineReader::kBufferSize - 1] = '\r';
    std::string expected = longLine;
    expected.erase(LineReader::kBufferSize - 1, 1);
    const std::string bytes = longLine.substr(0, LineReader::kBufferSize - 1) + "\r\n" +
                              longLine.substr(LineReader::kBufferSize) + "\nz";
    EXPECT_EQ(ReadLines(dir, bytes),
              (Lines{longLine.substr(0, LineReader::kBufferSize - 1), longLine.substr(LineReader::kBufferSize), "z"}));
    EXPECT_EQ(ReadLines(dir, longLine), Lines{expected});
}

TEST(LineReader, OpenFailures) {
    TempDir dir;
    dir.Write("file", "x");
    const auto message = [](const std::string& path) -> std::string {
        try {
            LineReader reader(path);
        } catch (const FileError& e) {
            return e.what();
        }
        return "opened";
    };
    EXPECT_EQ(message(dir.Path() + "/missing"), "File not found");
    EXPECT_EQ(message(dir.Path() + "/file/below"), "Invalid filename");
    EXPECT_EQ(message(dir.Path()), "I/O error 21");  // a directory is no chart file
    // A FIFO without a writer must be refused, not waited on.
    ASSERT_EQ(mkfifo((dir.Path() + "/fifo").c_str(), 0600), 0);
    EXPECT_NE(message(dir.Path() + "/fifo"), "opened");
    EXPECT_NE(message("/dev/null"), "opened");
    EXPECT_EQ(message(dir.Path() + "/file"), "opened");
}

TEST(LineReader, FileGrowingPastTheCapWhileReadFailsTheRead) {
    TempDir dir;
    const std::string path = dir.Path() + "/f";
    const std::string line(LineReader::kBufferSize, 'g');
    dir.Write("f", line + "\n");
    LineReader reader(path, 3 * LineReader::kBufferSize);  // within the cap when opened
    std::ofstream(path, std::ios::binary | std::ios::app) << line << "\n" << line << "\n" << line;
    EXPECT_EQ(reader.ReadLine(), line);
    EXPECT_EQ(reader.ReadLine(), line);
    EXPECT_THROW(
        {
            while (!reader.AtEnd()) reader.ReadLine();
        },
        FileError);
}

}  // namespace
}  // namespace chart
