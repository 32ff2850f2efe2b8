// Every finding of `vantrel-chart check`, one broken chart a row: each folder
// under tests/data/publisher/check holds the files that differ from the base
// chart there (check/base; `absent` lists base files to leave out) and
// `expected`, the beginning of each line check prints, in order. The base
// chart, the sample chart and the largest chart the viewer takes are clean.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "publisher/check_command.h"
#include "publisher/finding.h"
#include "publisher/utf8_text.h"
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

std::vector<std::string> Check(const std::string& folder) {
    std::ostringstream out;
    publisher::RunCheck(folder, false, out);
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

// What the window reads as UTF-8 and what it shows as Windows-1252 instead.
TEST(CheckChart, Utf8AsTheWindowReadsIt) {
    const std::pair<std::string_view, bool> rows[] = {
        {"plain ASCII, longer than eight bytes", true}, {"caf\xC3\xA9", true},  {"\xF0\x9F\x94\x91 key", true},
        {"caf\xE9", false},                            {"\xC3", false},         {"\xC0\xAF", false},  // overlong
        {"\xED\xA0\x80", false},                      // a surrogate
        {"\xF4\x90\x80\x80", false},                 // past U+10FFFF
        {"twelve bytes\x80", false},                    // a stray byte after a run of ASCII
    };
    for (const auto& [text, valid] : rows) EXPECT_EQ(publisher::IsValidUtf8(text), valid) << text;
}

}  // namespace
