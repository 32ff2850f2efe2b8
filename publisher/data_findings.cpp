// The data file's findings.
#include "publisher/data_findings.h"

#include <algorithm>
#include <vector>

#include "chart/files/chart_texts.h"
#include "chart/details/web_address.h"
#include "chart/text/ascii.h"
#include "chart/text/utf8.h"

namespace publisher {
namespace {

using chart::GridModel;

constexpr int kTotalColumn = GridModel::kColCount - 1;
constexpr std::size_t kNamesListed = 3;

const char* Heading(int col) { return GridModel::kColumnHeadings[static_cast<std::size_t>(col)]; }

bool OnlyBlanks(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// A line's words as the readers split it: every space ends one.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (;;) {
        const std::size_t space = line.find(' ');
        words.push_back(line.substr(0, space));
        if (space == std::string_view::npos) return words;
        line.remove_prefix(space + 1);
    }
}

// What stands between words where the readers split only at single spaces:
// TABs, no-break spaces (UTF-8's, or Windows-1252's byte A0) and commas, as
// an editor or a spreadsheet export may put them. Commas count only where
// they make too few words, or end a word ("1, 2, 3").
std::vector<std::string> OtherSeparators(std::string_view line, std::size_t words, std::size_t wanted) {
    std::vector<std::string> found;
    if (line.find('\t') != std::string_view::npos) found.emplace_back("TABs");
    const bool utf8 = chart::IsValidUtf8(line);
    if (line.find(utf8 ? "\xC2\xA0" : "\xA0") != std::string_view::npos) found.emplace_back("no-break spaces");
    const std::size_t comma = line.find(',');
    if (comma != std::string_view::npos &&
        (words < wanted || line.find(", ") != std::string_view::npos || line.ends_with(',')))
        found.emplace_back("commas");
    return found;
}

// "column 7", "columns 6 and 7", "columns 2 to 7": the columns from `from` on.
std::string ColumnsFrom(int from) {
    const int last = GridModel::kColCount - 1;
    if (from == last) return "column " + std::to_string(last);
    if (from + 1 == last) return "columns " + std::to_string(from) + " and " + std::to_string(last);
    return "columns " + std::to_string(from) + " to " + std::to_string(last);
}

// The first empty word's place (from 1), or 0.
std::size_t FirstEmptyWord(const std::vector<std::string_view>& words) {
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i].empty()) return i + 1;
    return 0;
}

// Up to a few items quoted, "..." after more.
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < kNamesListed; ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + Quoted(items[i]);
    if (items.size() > kNamesListed) text += ", ...";
    return text;
}

// The window's message for a refused address, without the line end before the address.
std::string_view RefusedAddressMessage() {
    std::string_view message = chart::kNotWebAddressMessage;
    while (message.ends_with('\r') || message.ends_with('\n')) message.remove_suffix(1);
    return message;
}

}  // namespace

void DataFindings::operator()(const chart::DataRecordLines& record) {
    if (!record.complete) {
        chart_.Add(kData, record.first, Severity::Error, "record-cut", [&] {
            const std::string lines = Plural(record.count, "line", "lines");
            return record.ended ? "a record of " + lines + " ends before its results (line 4): it makes no " +
                                      "program, and the next record takes its row"
                                : "the file ends " + lines + " into a record, before its results (line 4): " +
                                      "it makes no program";
        });
        return;
    }
    const std::string& name = record.lines.size() > 1 ? record.lines[1] : record.lines.front();
    if (record.count == 3)
        chart_.Add(kData, record.first + 3, Severity::Error, "results-empty",
                   "the fourth line (the results) is empty: " + Quoted(name) + " shows no results");
    if (record.count > 4) CheckIgnoredLines(record);
    if (record.row == 0) {
        chart_.Add(kData, record.first + 1, Severity::Error, "past-the-grid",
                   "the grid holds " + std::to_string(chart::kMaxPrograms) + " programs: " + Quoted(name) +
                       " is never shown");
        return;
    }
    CheckProgram(record);
}

// Lines 5 onward of a record are read past. When they hold a whole record of
// their own, a program is lost: the empty line before it is missing, or holds
// blanks (which make no empty line).
void DataFindings::CheckIgnoredLines(const chart::DataRecordLines& record) {
    const auto& lines = record.lines;
    std::size_t from = 4;
    while (from < lines.size() && OnlyBlanks(lines[from])) ++from;
    const long long blanks = static_cast<long long>(from) - 4;
    const long long rest = record.count - 4 - blanks;
    const long long at = record.first + 4;
    if (rest >= 4 && from + 1 < lines.size()) {
        const std::string lost = Quoted(lines[from + 1]);
        chart_.Add(kData, at, Severity::Error, "program-lost",
                   blanks > 0 ? "this line holds only blanks, which is no empty line: the record goes on, and the "
                                "program after it, " + lost + ", is never shown (lines 5 onward of a record are ignored)"
                              : "the record goes on without an empty line: the program from here, " + lost +
                                    ", is never shown (lines 5 onward of a record are ignored)");
        return;
    }
    chart_.Add(kData, at, Severity::Warning, "lines-ignored",
               "lines 5 onward of a record are ignored (" + Plural(record.count - 4, "line", "lines") + ", from " +
                   Quoted(lines.size() > 4 ? lines[4] : std::string()) + "): is the empty line missing before them?");
}

void DataFindings::CheckProgram(const chart::DataRecordLines& record) {
    const int row = record.row;
    const std::string& name = chart_.grid.Cell(0, row);
    const long long nameLine = record.first + 1;
    chart_.recordLines[static_cast<std::size_t>(row)] = record.first;

    const std::string& address = chart_.tables.ProductUrl(row);
    const auto opened = chart::AddressToOpen(address);
    if (!opened)
        chart_.Add(kData, record.first, Severity::Warning, "address-refused",
                   "the viewer refuses to open the page address " + Quoted(address) + ": selecting " + Quoted(name) +
                       " shows \"" + std::string(RefusedAddressMessage()) + "\"");
    else if (*opened != address)
        chart_.Add(kData, record.first, Severity::Warning, "address-rewritten",
                   "the viewer opens the page address " + Quoted(address) + " as " + Quoted(*opened));

    if (chart::IsWebAddress(name))
        chart_.Add(kData, nameLine, Severity::Warning, "name-is-address",
                   "the name " + Quoted(name) + " is a web address: has the record a line too many at its top?");
    if (const auto shown = chart_.gridCut ? chart_.gridCut(0, name) : std::nullopt)
        chart_.Add(kData, nameLine, Severity::Warning, "cut",
                   "the grid cuts the name " + Quoted(name) + ": readers see " + Quoted(*shown));
    chart_.CheckUnseen(kData, nameLine, [] { return std::string("the name"); }, name);
    if (const auto [first, added] = nameLines_.emplace(name, nameLine); !added)
        chart_.Add(kData, nameLine, Severity::Warning, "same-name",
                   "a second program named " + Quoted(name) + " (the first at line " + std::to_string(first->second) +
                       ")");
    flagsLines_.emplace_back(record.first + 2, row);
    CheckResults(record);
}

void DataFindings::Finish() {
    for (const auto& [line, row] : flagsLines_) CheckFlags(line, row);
}

// Each test's word of flags against the test's sub-criteria, one character
// each: "1" YES, "0" NO, "-" N/A.
void DataFindings::CheckFlags(long long line, int row) {
    const chart::ChartTables& tables = chart_.tables;
    const std::string& flags = tables.ProductDetail(row);
    const auto words = Words(flags);
    // Flags split otherwise than by single spaces make too few words: the
    // tests past them get no word, and every answer there is N/A.
    const auto separators = OtherSeparators(flags, words.size(), kTotalColumn - 1);
    if (!separators.empty() && words.size() < static_cast<std::size_t>(kTotalColumn - 1)) {
        const int first = static_cast<int>(words.size()) + 1;
        chart_.Add(kData, line, Severity::Error, "flags-separated", [&] {
            return "the flags are separated by " + Joined(separators) + ", not single spaces: the line makes " +
                   Plural(static_cast<long long>(words.size()), "word", "words") + " for 6 tests, and readers see " +
                   "N/A for every sub-criterion of " + Quoted(chart_.TestName(first)) +
                   (first < kTotalColumn - 1 ? " to " + Quoted(chart_.TestName(kTotalColumn - 1)) : std::string());
        });
        return;
    }
    // An empty word (two spaces in a row) gives each later test the next one's flags.
    const std::size_t empty = FirstEmptyWord(words);
    const int shiftedFrom = empty >= 1 && empty < static_cast<std::size_t>(kTotalColumn) ? static_cast<int>(empty) : kTotalColumn;
    if (shiftedFrom < kTotalColumn && !flags.empty())
        chart_.Add(kData, line, Severity::Error, "flags-shifted",
                   std::string(empty == 1 ? "a space at the start makes" : "two spaces in a row make") +
                       " an empty flags word for " + Quoted(chart_.TestName(shiftedFrom)) +
                       ": the words after it answer the next tests' sub-criteria");
    for (int col = 1; col < kTotalColumn; ++col) {
        if (!chart_.counts[col]) continue;
        const long long count = std::max(0LL, *chart_.counts[col]);
        const std::string_view word = FlagsWord(tables, row, col);
        const long long length = static_cast<long long>(word.size());

        std::vector<std::string> strange, unanswered;
        for (long long m = 1; m <= std::min(count, length); ++m) {
            const char c = word[static_cast<std::size_t>(m - 1)];
            if (c == '1' || c == '0' || c == '-') continue;
            if (std::find(strange.begin(), strange.end(), std::string(1, c)) == strange.end()) strange.emplace_back(1, c);
            unanswered.push_back(tables.TestPolicy(col, static_cast<int>(m)));
        }
        if (!strange.empty())
            chart_.Add(kData, line, Severity::Error, "flags-unknown",
                       "the flags word " + Quoted(word) + " for " + Quoted(chart_.TestName(col)) + " holds " +
                           Listed(strange) + (strange.size() == 1 ? ", which answers" : ", which answer") +
                           " nothing: readers see N/A for " + Listed(unanswered) +
                           " (1 is YES, 0 is NO, - is N/A)");
        if (length == count || col >= shiftedFrom) continue;
        std::string message = "the flags word " + Quoted(word) + " for " + Quoted(chart_.TestName(col)) + " has " +
                              Plural(length, "character", "characters") + " for " +
                              Plural(count, "sub-criterion", "sub-criteria") + ": ";
        if (length > count) {
            message += "the last " + std::to_string(length - count) + " never shown";
        } else {
            std::vector<std::string> missing;
            for (long long m = length + 1; m <= count; ++m) missing.push_back(tables.TestPolicy(col, static_cast<int>(m)));
            message += Listed(missing) + " answered N/A";
        }
        chart_.Add(kData, line, Severity::Warning, "flags-length", message);
    }
}

void DataFindings::CheckResults(const chart::DataRecordLines& record) {
    if (record.count < 4) return;  // an empty fourth line is told as such
    const GridModel& grid = chart_.grid;
    const int row = record.row;
    const long long line = record.first + 3;
    const int results = record.results;
    const auto words = Words(record.lines[3]);

    // An empty word among the seven: the results after it are shown one
    // column right, or the last ones are empty.
    const std::size_t empty = FirstEmptyWord(words);
    const bool shifted = empty >= 1 && empty <= static_cast<std::size_t>(kTotalColumn);
    if (shifted) {
        const int col = static_cast<int>(empty);
        const std::string total = grid.Cell(kTotalColumn, row);
        if (empty == words.size())
            chart_.Add(kData, line, Severity::Error, "results-shifted",
                       std::string("the results line ends with a space, which makes an empty ") + Heading(col) +
                           " result: readers see no " + Heading(col));
        else
            chart_.Add(kData, line, Severity::Error, "results-shifted",
                       std::string(empty == 1 ? "a space at the start makes" : "two spaces in a row make") + " an empty " +
                           Heading(col) + " result: the results after it are shown one column right, and readers " +
                           "see a Total of " + (total.empty() ? std::string("nothing") : Quoted(total)));
    }
    // A results line fills only the cells it has words for: after an Update
    // the cells past its last word keep what the reader's previous chart had.
    const auto separators = OtherSeparators(record.lines[3], words.size(), kTotalColumn);
    if (results < kTotalColumn) {
        const std::string made = separators.empty()
                                     ? Plural(results, "result", "results") + " for 7 columns"
                                     : "the results are separated by " + Joined(separators) +
                                           ", not single spaces: the line makes " +
                                           Plural(results, "result", "results") + " for 7 columns (readers see " +
                                           Quoted(grid.Cell(1, row)) + " in " + Heading(1) + ")";
        // Short words alone: what readers who update keep is told as it is
        // when the chart they update from is known.
        if (chart_.servedKnown && separators.empty())
            chart_.Add(kData, line, Severity::Warning, "results-short",
                       made + ": readers see " + ColumnsFrom(results + 1) + " of this row empty");
        else
            chart_.Add(kData, line, Severity::Error, "results-short",
                       made + ": readers who update keep the previous chart's results in " + ColumnsFrom(results + 1) +
                           (chart_.servedKnown ? "" : ", and readers who start afresh see them empty"));
    } else if (!separators.empty()) {
        chart_.Add(kData, line, Severity::Warning, "results-separated",
                   "the results are separated by " + Joined(separators) + " as well as spaces: readers see " +
                       Quoted(grid.Cell(1, row)) + " in " + Heading(1));
    }
    for (int col = 1; col <= kTotalColumn; ++col) {
        const std::string& cell = grid.Cell(col, row);
        if (const auto shown = chart_.gridCut ? chart_.gridCut(col, cell) : std::nullopt)
            chart_.Add(kData, line, Severity::Warning, "cut",
                       std::string("the grid cuts the ") + Heading(col) + " result " + Quoted(cell) + ": readers see " +
                           Quoted(*shown));
        if (separators.empty())
            chart_.CheckUnseen(kData, line, [col] { return std::string("the ") + Heading(col) + " result"; }, cell);
    }
    if (shifted) return;  // what follows is the shift's doing

    std::vector<std::string> beyond;
    for (int col = kTotalColumn + 1; col <= results; ++col)
        if (!grid.Cell(col, row).empty()) beyond.push_back(grid.Cell(col, row));
    if (!beyond.empty())
        chart_.Add(kData, line, Severity::Warning, "results-beyond",
                   "results beyond the Total column are never shown: " + Listed(beyond));

    // Each result a whole number, or "-" for none.
    std::vector<int> dashes;
    bool countable = true;
    for (int col = 1; col <= kTotalColumn; ++col) {
        const std::string& cell = grid.Cell(col, row);
        if (chart::ascii::IsDigits(cell)) continue;
        if (cell == "-") {
            dashes.push_back(col);
            continue;
        }
        countable = false;
        if (!cell.empty() && separators.empty())
            chart_.Add(kData, line, Severity::Warning, "not-a-number",
                       std::string("the ") + Heading(col) + " result " + Quoted(cell) + " is not a whole number");
    }
    if (!countable || dashes.size() == static_cast<std::size_t>(kTotalColumn)) return;
    // At most 15 digits each: no sum of them overflows.
    const auto value = [](const std::string& digits) {
        long long number = 0;
        for (const char c : digits) number = number * 10 + (c - '0');
        return number;
    };
    long long sum = 0;
    for (int col = 1; col <= kTotalColumn; ++col) {
        const std::string& cell = grid.Cell(col, row);
        if (cell.size() > 15) {
            chart_.Add(kData, line, Severity::Warning, "too-large",
                       col == kTotalColumn ? "the Total " + Quoted(cell) + " is too large to be checked as the sum of "
                                                 "the six results"
                                           : std::string("the ") + Heading(col) + " result " + Quoted(cell) +
                                                 " is too large to add up: the Total cannot be checked");
            return;
        }
        if (col < kTotalColumn && cell != "-") sum += value(cell);
    }
    const std::string& total = grid.Cell(kTotalColumn, row);
    if (total == "-") {
        chart_.Add(kData, line, Severity::Warning, "total-dash",
                   "the Total is '-' (none), though the results add up to " + std::to_string(sum));
        return;
    }
    // "-" is no result, and the Total adds it up as none.
    if (sum != value(total))
        chart_.Add(kData, line, Severity::Warning, "total-not-sum",
                   "the Total " + total + " is not the sum of the six results (" + std::to_string(sum) +
                       (dashes.empty() ? ")" : ", counting '-' as 0)"));
}

}  // namespace publisher
