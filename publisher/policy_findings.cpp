// The policy file's findings.
#include "publisher/policy_findings.h"

#include <algorithm>

#include "chart/details/conversion_error.h"
#include "chart/text/ascii.h"

namespace publisher {
namespace {

using chart::GridModel;

const char* Heading(int test) { return GridModel::kColumnHeadings[static_cast<std::size_t>(test)]; }

std::string Column(int test) { return "column " + std::to_string(test) + " (" + Heading(test) + ")"; }

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (chart::ascii::ToLower(a[i]) != chart::ascii::ToLower(b[i])) return false;
    return true;
}

// The column whose heading the title is, in any letter case; 0 when none.
int HeadingColumn(std::string_view title) {
    for (int col = 1; col <= chart::kTestCount; ++col)
        if (SameLetters(title, Heading(col))) return col;
    return 0;
}

// The error a selection in the test's column raises, if any.
std::optional<std::string> SelectionError(const CheckedChart& chart, int test) {
    if (chart.counts[static_cast<std::size_t>(test)]) return std::nullopt;
    return chart::ConversionError(chart.tables.TestPolicy(test, 0)).what();
}

}  // namespace

void PolicyFindings::operator()(const chart::PolicyRecordLines& record) {
    if (record.test >= 1 && record.test <= chart::kTestCount) {
        records_[static_cast<std::size_t>(record.test)] = record;
        chart_.testLines[static_cast<std::size_t>(record.test)] = record.first;
        // The title takes the slot after the last sub-criterion: 49 fit.
        if (record.count - 1 > chart::kMaxSubCriteria)
            chart_.Add(kPolicy, record.first + chart::kMaxSubCriteria + 1, Severity::Error, "past-49",
                       "the test " + Quoted(record.title) + " has " + std::to_string(record.count - 1) +
                           " sub-criteria: readers see the first " + std::to_string(chart::kMaxSubCriteria) +
                           ", never this one" +
                           (record.count - 2 > chart::kMaxSubCriteria
                                ? " or the " + std::to_string(record.count - 2 - chart::kMaxSubCriteria) + " after it"
                                : std::string()));
    } else if (record.count > 0) {
        chart_.Add(kPolicy, record.first, Severity::Warning, "past-six",
                   "test " + std::to_string(record.test) + ", " + Quoted(record.title) +
                       ", is past the six columns: readers never see it");
    }
}

void PolicyFindings::Finish() {
    bool shifted = false;  // by an empty record before: the order is that record's fault
    for (int test = 1; test <= chart::kTestCount; ++test) {
        const auto& record = records_[static_cast<std::size_t>(test)];
        if (record) CheckShownText(*record, test);
        const auto error = SelectionError(chart_, test);
        const std::string raises =
            error ? ": selecting a result in " + Column(test) + " raises \"" + *error + "\"" : std::string();
        if (!record) {
            chart_.Add(kPolicy, 0, Severity::Error, "no-test", "no record defines the test of " + Column(test) + raises);
        } else if (!record->ended) {
            chart_.Add(kPolicy, record->first, Severity::Error, "unended",
                       "the last test record, " + Quoted(record->title) +
                           ", has no empty line after it: its title and count are never stored" + raises);
        } else if (record->count == 0) {
            shifted = true;
            chart_.Add(kPolicy, record->first, Severity::Error, "empty-record",
                       "an empty line where a test record should begin is a record of its own, for " + Column(test) +
                           ": the tests after it move one column right" + raises);
        } else if (error) {
            chart_.Add(kPolicy, record->first, Severity::Error, "count", "the test's count is not a number" + raises);
        } else if (!shifted && record->title != Heading(test)) {
            // The headings above the grid are a picture: the tests must come
            // in their order, under their names.
            const int heading = HeadingColumn(record->title);
            if (heading != 0 && heading != test)
                chart_.Add(kPolicy, record->first, Severity::Error, "order",
                           "the test " + Quoted(record->title) + " stands in " + Column(test) + ": readers who select " +
                               "a result in that column see the details of " + Quoted(record->title) +
                               "; the tests must come in the order of the headings above the grid");
            else
                chart_.Add(kPolicy, record->first, Severity::Warning, "renamed",
                           "the title " + Quoted(record->title) + " is not the heading " + Quoted(Heading(test)) +
                               " above its column: is it renamed?");
        }
    }
}

// The title and the sub-criteria the details panel shows.
void PolicyFindings::CheckShownText(const chart::PolicyRecordLines& record, int test) {
    chart_.CheckUnseen(kPolicy, record.first, [] { return std::string("the title"); }, record.title);
    const long long shown = std::min<long long>(record.count - 1, chart::kMaxSubCriteria);
    for (long long m = 1; m <= shown; ++m)
        chart_.CheckUnseen(kPolicy, record.first + m, [] { return std::string("the sub-criterion"); },
                           chart_.tables.TestPolicy(test, static_cast<int>(m)));
}

}  // namespace publisher
