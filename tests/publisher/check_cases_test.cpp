// Every finding of `vantrel-chart check`, one broken chart a row: each folder
// under tests/data/publisher/check holds the files that differ from the base
// chart there (check/base; `absent` lists base files to leave out) and
// `expected`, the beginning of each line check prints, in order. The base
// chart, the sample chart and the largest chart the viewer takes are clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "publisher/check_command.h"
#include "publisher/finding.h"
#include "support/minisign_key.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Check(const std::string& folder, const std::string& publicKey = {}) {
    std::ostringstream out;
    publisher::RunCheck(folder, false, publicKey, out);
    return Lines(out.str());
}

// The case's files over the base chart's, in a folder of its own.
void Assemble(const fs::path& cases, const std::string& name, const support::TempDir& into) {
    const fs::path dir = cases / name;
    const std::vector<std::string> absent =
        fs::exists(dir / "absent") ? Lines(support::TestData("publisher/check/" + name + "/absent")) : std::vector<std::string>{};
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename();
        if (file != "expected" && file != "absent") fs::copy_file(entry.path(), into.Dir() / file);
    }
    for (const std::string file : {"data", "policy", "version"}) {
        const std::string served = file + ".dat";
        if (fs::exists(dir / served) || fs::exists(dir / file) || std::count(absent.begin(), absent.end(), served)) continue;
        fs::copy_file(cases / "base" / served, into.Dir() / served);
    }
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(support::TestDataPath("publisher/check")))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class CheckCase : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckCase, PrintsTheExpectedFindings) {
    const fs::path cases = support::TestDataPath("publisher/check");
    const support::TempDir folder("vantrel-check");
    Assemble(cases, GetParam(), folder);
    const auto expected = fs::exists(cases / GetParam() / "expected")
                              ? Lines(support::TestData("publisher/check/" + GetParam() + "/expected"))
                              : std::vector<std::string>{};
    const auto printed = Check(folder.Path());
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
    };
    for (const auto& [finding, json] : rows) EXPECT_EQ(publisher::JsonLine(finding), json);
}

// With the publisher's key, the signatures as a signed build of the viewer
// takes them: each one good, and the three one release.
TEST(CheckChart, SignaturesAsASignedViewerTakesThem) {
    using Key = support::MinisignKey;
    constexpr std::uint64_t kReleased = 1'750'000'000;
    const Key key, other;
    struct Row {
        const char* name;
        std::function<void(const fs::path& dir, const Key& key, const Key& other)> change;
        std::vector<std::string> expected;  // the beginning of each line
    };
    const auto sign = [](const fs::path& dir, const Key& by, const char* file, std::uint64_t time, const char* as,
                         bool legacy = false) {
        std::ofstream(dir / (std::string(file) + ".minisig"))
            << by.Sign(support::TestData(std::string("publisher/check/base/") + file), time, as, legacy);
    };
    const Row rows[] = {
        {"one release", [](const fs::path&, const Key&, const Key&) {}, {}},
        {"a signature missing", [](const fs::path& dir, const Key&, const Key&) { fs::remove(dir / "policy.dat.minisig"); },
         {"policy.dat.minisig: error: missing: readers see \"The update failed: the chart is not signed"}},
        {"another key",
         [&](const fs::path& dir, const Key&, const Key& by) { sign(dir, by, "version.dat", kReleased, "version.dat"); },
         {"version.dat.minisig: error: does not verify with this key"}},
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
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const support::TempDir folder("vantrel-check");
        for (const char* file : {"data.dat", "policy.dat", "version.dat"}) {
            fs::copy_file(support::TestDataPath(std::string("publisher/check/base/") + file), folder.Dir() / file);
            sign(folder.Dir(), key, file, kReleased, file);
        }
        row.change(folder.Dir(), key, other);
        const auto printed = Check(folder.Path(), key.PublicKey());
        ASSERT_EQ(printed.size(), row.expected.size()) << ::testing::PrintToString(printed);
        for (std::size_t i = 0; i < printed.size(); ++i) EXPECT_TRUE(printed[i].starts_with(row.expected[i])) << printed[i];
    }
}

}  // namespace
