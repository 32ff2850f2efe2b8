// The compare window's rules as tables over the charts under tests/data/compare:
// sorts, Find, must-haves, the shortlist, side by side, choices kept by identity.
#include <gtest/gtest.h>

#include "chart/compare/compare_model.h"
#include "chart/compare/side_by_side.h"
#include "chart/text/case_fold.h"
#include "shown_chart_loader.h"

namespace chart {
namespace {

CompareModel Load(const std::string& folder) { return CompareModel(chart_test::LoadShownChart(folder, "compare")); }

// The view's programs by name, "|" between them.
std::string Names(const CompareModel& model) {
    std::string names;
    for (const int p : model.View()) names += (names.empty() ? "" : "|") + model.Chart().ProgramLabel(p);
    return names;
}

TEST(CompareModel, SortOrders) {
    CompareModel model = Load("compare/sorting");
    const std::string eclair = "\xC3\x89" "clair";  // written in Windows-1252
    struct Case {
        int column;
        SortOrder order;
        std::string names;
    } cases[] = {
        {-1, SortOrder::Ascending,
         "Alpha|bravo|Charlie|delta|Echo|Foxtrot|Golf|Hotel|India|Juliet|row 11|Kilo|" + eclair},
        // -3, 3.5 = 3.50 (a tie), 4, 5 = 5, 007, 12, then 23 and 24 digits;
        // then "-", "" and "abc" in the grid's order.
        {1, SortOrder::Ascending,
         "Hotel|Juliet|" + eclair + "|row 11|Alpha|Echo|India|Charlie|Golf|Kilo|bravo|delta|Foxtrot"},
        {1, SortOrder::Descending,
         "Kilo|Golf|Charlie|India|Alpha|Echo|row 11|Juliet|" + eclair + "|Hotel|bravo|delta|Foxtrot"},
        // -0 = 0, 9, 20 = 0020, 21 = +21, past 64 bits; then "-", "1e3", "x".
        {7, SortOrder::Ascending,
         "India|Juliet|Foxtrot|Charlie|Echo|Golf|row 11|Kilo|bravo|Alpha|delta|Hotel|" + eclair},
        {7, SortOrder::Descending,
         "Alpha|bravo|row 11|Kilo|Charlie|Echo|Golf|Foxtrot|India|Juliet|delta|Hotel|" + eclair},
        // Letter case folded; a blank name last in both orders.
        {0, SortOrder::Ascending,
         "Alpha|bravo|Charlie|delta|Echo|Foxtrot|Golf|Hotel|India|Juliet|Kilo|" + eclair + "|row 11"},
        {0, SortOrder::Descending,
         eclair + "|Kilo|Juliet|India|Hotel|Golf|Foxtrot|Echo|delta|Charlie|bravo|Alpha|row 11"},
    };
    for (const Case& c : cases) {
        model.SortBy(c.column, c.order);
        EXPECT_EQ(Names(model), c.names) << "column " << c.column;
    }
    // The window's own comparison of names, where it gives one.
    model.SetNameComparison([](std::string_view a, std::string_view b) { return b.compare(a); });
    model.SortBy(0, SortOrder::Ascending);
    EXPECT_EQ(Names(model), eclair + "|delta|bravo|Kilo|Juliet|India|Hotel|Golf|Foxtrot|Echo|Charlie|Alpha|row 11");
}

TEST(CompareModel, FindKeepsNamesThatContainTheTextInAnyCase) {
    CompareModel model = Load("compare/sorting");
    const std::pair<std::string, std::string> cases[] = {
        {"", "13 of 13 programs"},
        {"ALP", "Alpha"},
        {"O", "bravo|Echo|Foxtrot|Golf|Hotel|Kilo"},
        {"\xC3\xA9" "CL", "\xC3\x89" "clair"},  // typed "éCL", a Windows-1252 "Éclair"
        {"zulu", ""},
    };
    for (const auto& [typed, expected] : cases) {
        model.SetFind(typed);
        EXPECT_EQ(typed.empty() ? model.CountText() : Names(model), expected) << typed;
    }
    model.SetFind("a");
    EXPECT_EQ(model.CountText(), "6 of 13 programs");
    // Letters beyond ASCII fold without a locale.
    EXPECT_EQ(FoldCase("\xCE\x91\xCE\x9B\xCE\xA6\xCE\x91 \xD0\x96 \xC5\xB8\xC3\x89\xC5\xA0 \xC4\xB0"),
              "\xCE\xB1\xCE\xBB\xCF\x86\xCE\xB1 \xD0\xB6 \xC3\xBF\xC3\xA9\xC5\xA1 \xC4\xB0");  // ΑΛΦΑ Ж ŸÉŠ İ
}

TEST(CompareModel, MustHavesKeepOnlyYes) {
    // The programs: "All yes", "No Windows 11" (0), "Dash" (-), "Short word"
    // (a flags word of one character), "Few words" (no word for Security)
    // and "Other letter" (x).
    struct Case {
        std::vector<std::pair<int, int>> mustHaves;  // (test, sub-criterion); sub-criterion 0: the whole test
        std::string kept;
        std::vector<std::string> lines;  // each program's, in the grid's order
        CheckState osSupport = CheckState::Unchecked;
    } cases[] = {
        {{}, "All yes|No Windows 11|Dash|Short word|Few words|Other letter", {"", "", "", "", "", ""}},
        {{{1, 2}},
         "All yes|Few words",
         {"", "Ruled out: Windows 11 (OS support) is NO", "Ruled out: Windows 11 (OS support) is N/A",
          "Ruled out: Windows 11 (OS support) is N/A", "", "Ruled out: Windows 11 (OS support) is N/A"},
         CheckState::PartlyChecked},
        {{{5, 1}},
         "All yes|No Windows 11|Dash|Short word|Other letter",
         {"", "", "", "", "Ruled out: Log encryption (Security) is N/A", ""}},
        // The first must-have a program fails is the one named.
        {{{1, 0}, {5, 1}},
         "All yes",
         {"", "Ruled out: Windows 11 (OS support) is NO", "Ruled out: Windows 11 (OS support) is N/A",
          "Ruled out: Windows 11 (OS support) is N/A", "Ruled out: Log encryption (Security) is N/A",
          "Ruled out: Windows 11 (OS support) is N/A"},
         CheckState::Checked},
        // Network options has no sub-criteria: checking it rules nothing out.
        {{{6, 0}}, "All yes|No Windows 11|Dash|Short word|Few words|Other letter", {"", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        CompareModel model = Load("compare/must-haves");
        for (const auto& [test, m] : c.mustHaves) m == 0 ? model.SetTestMustHave(test, true) : model.SetMustHave(test, m, true);
        EXPECT_EQ(Names(model), c.kept);
        std::vector<std::string> lines;
        for (int p = 0; p < model.Chart().Programs(); ++p) lines.push_back(model.RuledOutLine(p));
        EXPECT_EQ(lines, c.lines) << c.kept;
        EXPECT_EQ(model.TestMustHave(1), c.osSupport) << c.kept;
        EXPECT_EQ(model.TestMustHave(6), CheckState::Unchecked);
    }
}

TEST(CompareModel, ASixthProgramIsRefusedWithAWordWhy) {
    CompareModel model = Load("compare/sorting");
    for (int p = 0; p < kMaxShortlist; ++p) EXPECT_EQ(model.SetShortlisted(p, true), "");
    EXPECT_EQ(model.SetShortlisted(5, true), kShortlistFullMessage);
    EXPECT_EQ(model.Shortlist(), (std::vector<int>{0, 1, 2, 3, 4}));
    model.SetShortlisted(1, false);
    EXPECT_EQ(model.SetShortlisted(5, true), "");
    EXPECT_EQ(model.Shortlist(), (std::vector<int>{0, 2, 3, 4, 5}));
}

// Each row as "label: texts | ... [differs]".
std::string Rows(const SideBySide& side, bool differencesOnly) {
    std::string rows;
    for (const SideBySideRow& row : side.Rows(differencesOnly)) {
        rows += std::string(row.subCriterion ? "  " : "") + std::string(side.Label(row)) + ":";
        for (int column = 0; column < side.Columns(); ++column)
            rows += (column ? " | " : " ") + std::string(side.Text(row, column));
        if (!SideBySide::Mark(row).empty()) rows += " [" + std::string(SideBySide::Mark(row)) + "]";
        rows += "\n";
    }
    return rows;
}

TEST(CompareModel, SideBySideMarksTheRowsThatDiffer) {
    const CompareModel model = Load("compare/must-haves");
    const struct {
        std::vector<int> programs;
        std::string differences;
    } cases[] = {
        // A test's result heads its answers that differ, marked only if it differs itself.
        {{0, 1, 3},
         "OS support: 1 | 1 | 1\n"
         "  Windows 11: YES | NO | N/A [differs]\n"
         "  Linux: YES | YES | N/A [differs]\n"
         "Interception: 1 | 2 | 1 [differs]\n"
         "Total: 5 | 6 | 5 [differs]\n"},
        // Few words: no flags for tests 3 to 6.
        {{4, 0},
         "Interception: 1 | 1\n"
         "  Keystrokes: N/A | YES [differs]\n"
         "  Clipboard: N/A | YES [differs]\n"
         "  Screenshots: N/A | YES [differs]\n"
         "Log viewing: 1 | 1\n"
         "  Search: N/A | YES [differs]\n"
         "Security: 1 | 1\n"
         "  Log encryption: N/A | YES [differs]\n"
         "  Password protection: N/A | YES [differs]\n"},
        {{0, 5, 2}, "OS support: 1 | 1 | 1\n  Windows 11: YES | N/A | N/A [differs]\n"},
        {{0}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Rows(SideBySide(model.Chart(), c.programs), true), c.differences);
    // Every row, without differences only: 6 results, 11 answers, the Total.
    EXPECT_EQ(SideBySide(model.Chart(), {0, 1}).Rows(false).size(), 18u);
}

// A reload that renames Alpha, removes Bravo, readdresses Charlie and
// renames the sub-criterion "Log encryption"; and the same choices kept in
// the settings and applied at the next start.
TEST(CompareModel, ChoicesAreKeptByIdentity) {
    CompareModel before = Load("compare/reload/before");
    for (const int p : {0, 1, 2}) before.SetShortlisted(p, true);
    before.SetMustHave(1, 2, true);
    before.SetMustHave(5, 1, true);
    before.SortBy(7, SortOrder::Descending);
    const std::vector<std::string> notes = {
        "Bravo is no longer in the chart, so it left the shortlist.",
        "\"Log encryption\" (Security) is no longer in the chart, so it is no longer a must-have.",
    };

    CompareModel reloaded = Load("compare/reload/after");
    EXPECT_EQ(reloaded.KeepChoicesOf(before), notes);
    CompareModel restarted = Load("compare/reload/after");
    EXPECT_EQ(restarted.Apply(before.Choices()), notes);
    for (const CompareModel* after : {&reloaded, &restarted}) {
        EXPECT_EQ(after->Shortlist(), (std::vector<int>{1, 2}));  // Alpha Plus, Charlie
        EXPECT_TRUE(after->MustHave(1, 2));
        EXPECT_FALSE(after->MustHave(5, 1));
        EXPECT_EQ(after->SortColumn(), 7);
        EXPECT_EQ(after->Order(), SortOrder::Descending);
    }
}

}  // namespace
}  // namespace chart
