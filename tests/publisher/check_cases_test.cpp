// Every finding of `vantrel-chart check`, one broken chart a row; the charts
// shipped (the sample, the largest the viewer takes) are clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "chart_case.h"
#include "publisher/check_command.h"
#include "publisher/finding.h"
#include "publisher/release_date.h"
#include "publisher/text_output.h"
#include "support/minisign_key.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

using publisher_test::Lines;

std::vector<std::string> Check(const std::string& folder, const std::string& publicKey = {},
                               const std::string& served = {}) {
    std::ostringstream out, err;
    publisher::RunCheck(folder, {.publicKey = publicKey, .served = served}, out, err);
    return Lines(out.str());
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(support::TestDataPath("publisher/check")))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Each folder under tests/data/publisher/check holds the files that differ from
// the base chart (check/base; `absent` lists base files to leave out),
// `expected` (the beginning of each line check prints, in order), and, checked
// with --served, the served chart's files that differ from the base in `served`.
class CheckCase : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckCase, PrintsTheExpectedFindings) {
    const fs::path cases = support::TestDataPath("publisher/check");
    const support::TempDir folder("vantrel-check"), served("vantrel-served");
    publisher_test::AssembleChart("publisher/check/" + GetParam(), folder);
    const bool withServed = fs::is_directory(cases / GetParam() / "served");
    if (withServed) publisher_test::AssembleChart("publisher/check/" + GetParam() + "/served", served);
    const auto expected = fs::exists(cases / GetParam() / "expected")
                              ? Lines(support::TestData("publisher/check/" + GetParam() + "/expected"))
                              : std::vector<std::string>{};
    const auto printed = Check(folder.Path(), {}, withServed ? served.Path() : std::string());
    ASSERT_EQ(printed.size(), expected.size()) << ::testing::PrintToString(printed);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(printed[i].starts_with(expected[i])) << printed[i] << "\nexpected to begin with\n" << expected[i];
}

INSTANTIATE_TEST_SUITE_P(Charts, CheckCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(CheckChart, ShippedChartsAreClean) {
    EXPECT_EQ(Check(VANTREL_SAMPLE_CHART_DIR), std::vector<std::string>{});
    EXPECT_EQ(Check(VANTREL_LARGEST_CHART_DIR), std::vector<std::string>{});
}

TEST(CheckChart, JsonLinesAreValidJsonWhateverTheChartHolds) {
    using publisher::Finding;
    using publisher::Severity;
    const std::pair<Finding, std::string> rows[] = {
        {{"data.dat", 7, Severity::Warning, "name 'a\"b\\c\td'"},
         R"({"file":"data.dat","line":7,"severity":"warning","message":"name 'a\"b\\c\u0009d'"})"},
        {{"policy", 0, Severity::Error, "caf\xE9 \xC3\xA9"},  // not UTF-8 as a whole: each byte on its own
         R"({"file":"policy","line":null,"severity":"error","message":"caf\u00e9 \u00c3\u00a9"})"},
        {{"version", 1, Severity::Error, "caf\xC3\xA9"}, R"({"file":"version","line":1,"severity":"error","message":"caf)"
                                                          "\xC3\xA9"
                                                          R"("})"},
        {{"data", 2, Severity::Warning, "Quill\xE2\x80\xAEKey\xE2\x80\x8B"},
         R"({"file":"data","line":2,"severity":"warning","message":"Quill\u202eKey\u200b"})"},
        // The cap's summary: neither line nor severity, its count of its own.
        {{"data.dat", 0, Severity::Error, "\xE2\x80\xA6" "and 5 more like it", 5},
         R"({"file":"data.dat","more":5,"message":")" "\xE2\x80\xA6" R"(and 5 more like it"})"},
    };
    for (const auto& [finding, json] : rows) EXPECT_EQ(publisher::JsonLine(finding), json);
}

// Chart text as show, diff and check print it: every character a reader
// cannot see as it stands escaped, the backslash doubled, the rest as it is.
TEST(CheckChart, UnseenCharactersAreEscapedAlikeEverywhere) {
    const std::pair<std::string, std::string> rows[] = {
        {"a\\b", "a\\\\b"},
        {"\t\r\n\x1b[31m\x7f", "\\t\\r\\n\\x1b[31m\\x7f"},
        {"Quill\xE2\x80\xAEyeK", "Quill\\u202eyeK"},                         // right-to-left override
        {"\xE2\x80\x8F\xD8\x9C\xE2\x81\xA6\xE2\x80\x8E", "\\u200f\\u061c\\u2066\\u200e"},  // marks, an isolate
        {"Quill\xE2\x80\x8BKey\xEF\xBB\xBF\xC2\xAD\xE2\x81\xA0", "Quill\\u200bKey\\ufeff\\u00ad\\u2060"},  // zero-width
        {"\xC2\x85\xC2\x9B\xE2\x80\xA8", "\\u0085\\u009b\\u2028"},        // C1 controls, a line separator
        {"caf\xC3\xA9 \xE2\x80\x94 \xD0\x9A \xC2\xA0", "caf\xC3\xA9 \xE2\x80\x94 \xD0\x9A \xC2\xA0"},  // seen as written
        {"caf\xE9\x85", "caf\\xe9\\x85"},                                     // no UTF-8: byte by byte
    };
    for (const auto& [text, printed] : rows) {
        EXPECT_EQ(publisher::ForTerminal(text), printed);
        EXPECT_EQ(publisher::CompilerLine({"data.dat", 7, publisher::Severity::Warning, text}),
                  "data.dat:7: warning: " + printed);
    }
}

// With the publisher's key, the signatures as a signed build of the viewer
// takes them: each one good, the three one release, and its date on the
// timeline readers hold it to (the clock, the served release).
TEST(CheckChart, SignaturesAsASignedViewerTakesThem) {
    using Key = support::MinisignKey;
    constexpr std::uint64_t kReleased = 1'750'000'000;
    // 23 hours and a half ahead: 23 whole hours however long the check takes.
    const std::uint64_t aDayAhead = publisher::Now() + 23 * 3600 + 1800;
    const Key key, other;
    struct Row {
        const char* name;
        std::function<void(const fs::path& dir, const Key& key, const Key& other)> change;
        std::vector<std::string> expected;  // the beginning of each line
        std::uint64_t released = kReleased;
        std::optional<std::uint64_t> served = {};  // the served release's date: checked with --served
    };
    const auto sign = [](const fs::path& dir, const Key& by, const char* file, std::uint64_t time, const char* as,
                         bool legacy = false) {
        std::ofstream(dir / (std::string(file) + ".minisig"))
            << by.Sign(support::TestData(std::string("publisher/check/base/") + file), time, as, legacy);
    };
    const auto release = [&](const fs::path& dir, std::uint64_t time) {
        for (const char* file : {"data.dat", "policy.dat", "version.dat"}) {
            fs::copy_file(support::TestDataPath(std::string("publisher/check/base/") + file), dir / file);
            sign(dir, key, file, time, file);
        }
    };
    const auto unchanged = [](const fs::path&, const Key&, const Key&) {};
    const Row rows[] = {
        {"one release", unchanged, {}},
        {"a signature missing", [](const fs::path& dir, const Key&, const Key&) { fs::remove(dir / "policy.dat.minisig"); },
         {"policy.dat.minisig: error: missing: readers see \"The update failed: the chart is not signed"}},
        {"an empty signature", [](const fs::path& dir, const Key&, const Key&) { std::ofstream(dir / "data.dat.minisig"); },
         {"data.dat.minisig: error: is empty: readers see \"The update failed: the chart is not signed"}},
        {"another key",
         [&](const fs::path& dir, const Key&, const Key& by) { sign(dir, by, "version.dat", kReleased, "version.dat"); },
         {"version.dat.minisig: error: was made with another key"}},
        {"the file changed after signing",
         [](const fs::path& dir, const Key&, const Key&) { std::ofstream(dir / "version.dat", std::ios::app) << "\n"; },
         {"version.dat.minisig: error: does not verify with this key: version.dat changed after signing"}},
        {"legacy", [&](const fs::path& dir, const Key& by, const Key&) { sign(dir, by, "data.dat", kReleased, "data.dat", true); },
         {"data.dat.minisig: error: a legacy signature"}},
        {"under another name",
         [&](const fs::path& dir, const Key& by, const Key&) { sign(dir, by, "policy.dat", kReleased, "data.dat"); },
         {"policy.dat.minisig:3: error: the trusted comment names 'data.dat', not 'policy.dat'"}},
        {"a file missing beside its signature",
         [](const fs::path& dir, const Key&, const Key&) { fs::remove(dir / "policy.dat"); },
         {"policy.dat: error: cannot be read (no such file)"}},
        {"a second apart",
         [&](const fs::path& dir, const Key& by, const Key&) { sign(dir, by, "version.dat", kReleased + 1, "version.dat"); },
         {"data.dat.minisig:3: error: the signatures' timestamps are 1750000000, 1750000000, 1750000001: readers see "
          "\"The update failed: the chart's files are not of one release"}},
        // The timeline: taken, but every release after it refused for a day.
        {"23 hours ahead", unchanged,
         {"data.dat.minisig:3: warning: the release is dated " + publisher::DateText(aDayAhead) +
          ", 23 hours ahead of this computer's clock: readers who take it refuse every release dated before it"},
         aDayAhead},
        {"timestamp 0", unchanged,
         {"data.dat.minisig:3: warning: the release is dated 1970-01-01 00:00:00 UTC, before 2000"}, 0},
        {"older than the served release", unchanged,
         {"data.dat.minisig:3: error: the release is dated 2025-06-15 15:06:40 UTC, before the served release "
          "(2025-06-15 15:06:41 UTC): readers who hold the served chart refuse it, with \"The update failed: the data "
          "server sent an older chart than the one you have.\""},
         kReleased, kReleased + 1},
        {"the served release's date", unchanged,
         {"data.dat.minisig:3: warning: the release is dated 2025-06-15 15:06:40 UTC, the very date of the served "
          "release"},
         kReleased, kReleased},
        {"newer than the served release", unchanged, {}, kReleased, kReleased - 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const support::TempDir folder("vantrel-check"), served("vantrel-served");
        release(folder.Dir(), row.released);
        if (row.served) release(served.Dir(), *row.served);
        row.change(folder.Dir(), key, other);
        const auto printed = Check(folder.Path(), key.PublicKey(), row.served ? served.Path() : std::string());
        ASSERT_EQ(printed.size(), row.expected.size()) << ::testing::PrintToString(printed);
        for (std::size_t i = 0; i < printed.size(); ++i) EXPECT_TRUE(printed[i].starts_with(row.expected[i])) << printed[i];
    }
}

}  // namespace
