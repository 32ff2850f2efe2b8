// The compare window's model: the sort, Find, the must-haves, the shortlist, the choices kept across reloads.
#include "chart/compare/compare_model.h"

#include <algorithm>

#include "chart/compare/result_order.h"
#include "chart/text/case_fold.h"
#include "chart/text/shown_text.h"

namespace chart {
namespace {

std::string LeftTheShortlist(const std::string& label) {
    return label + " is no longer in the chart, so it left the shortlist.";
}

std::string NoLongerAMustHave(const std::string& subCriterion, const std::string& test) {
    return "\"" + subCriterion + "\" (" + test + ") is no longer in the chart, so it is no longer a must-have.";
}

bool IsTest(int test) { return test >= 1 && test <= kTestCount; }

}  // namespace

CompareModel::CompareModel(const ShownChart& chart) : chart_(chart) { Refresh(); }

void CompareModel::SortBy(int column, SortOrder order) {
    sortColumn_ = column >= 0 && column < kCompareColumns ? column : -1;
    order_ = order;
    Refresh();
}

void CompareModel::SetNameComparison(NameComparison comparison) {
    nameComparison_ = std::move(comparison);
    Refresh();
}

bool CompareModel::Before(int column, SortOrder order, int a, int b) const {
    if (column < 0 || column >= kCompareColumns) return a < b;
    const std::string& textA = chart_.Cell(a, column);
    const std::string& textB = chart_.Cell(b, column);
    int comparison = 0;
    if (column == kNameColumn) {
        const bool blankA = chart_.Program(a).blankName, blankB = chart_.Program(b).blankName;
        if (blankA || blankB) return !blankA && blankB;
        comparison = nameComparison_ ? nameComparison_(textA, textB)
                                     : chart_.Program(a).foldedName.compare(chart_.Program(b).foldedName);
    } else {
        const ResultNumber numberA = ParseResultNumber(textA), numberB = ParseResultNumber(textB);
        if (!numberA.valid || !numberB.valid) return numberA.valid && !numberB.valid;
        comparison = CompareNumbers(numberA, numberB);
    }
    return order == SortOrder::Ascending ? comparison < 0 : comparison > 0;
}

void CompareModel::SetFind(std::string_view typed) {
    find_ = typed;
    // Read as a name is shown, so that any bytes make valid text to fold.
    foldedFind_ = FoldCase(ShownCell(find_));
    Refresh();
}

bool CompareModel::MatchesFind(int p) const {
    return chart_.Program(p).foldedName.find(foldedFind_) != std::string::npos;
}

bool& CompareModel::MustHaveSlot(int test, int subCriterion) {
    return mustHaves_[static_cast<std::size_t>(test - 1)][static_cast<std::size_t>(subCriterion - 1)];
}

void CompareModel::SetMustHave(int test, int subCriterion, bool checked) {
    if (!IsTest(test) || subCriterion < 1 || subCriterion > chart_.SubCriteria(test)) return;
    MustHaveSlot(test, subCriterion) = checked;
    Refresh();
}

void CompareModel::SetTestMustHave(int test, bool checked) {
    if (!IsTest(test)) return;
    for (int m = 1; m <= chart_.SubCriteria(test); ++m) MustHaveSlot(test, m) = checked;
    Refresh();
}

bool CompareModel::MustHave(int test, int subCriterion) const {
    if (!IsTest(test) || subCriterion < 1 || subCriterion > chart_.SubCriteria(test)) return false;
    return mustHaves_[static_cast<std::size_t>(test - 1)][static_cast<std::size_t>(subCriterion - 1)];
}

CheckState CompareModel::TestMustHave(int test) const {
    if (!IsTest(test)) return CheckState::Unchecked;
    int checked = 0;
    const int all = chart_.SubCriteria(test);
    for (int m = 1; m <= all; ++m) checked += MustHave(test, m);
    return checked == 0 ? CheckState::Unchecked : checked == all ? CheckState::Checked : CheckState::PartlyChecked;
}

std::optional<RuledOut> CompareModel::RuledOutBy(int p) const {
    for (int test = 1; test <= kTestCount; ++test)
        for (int m = 1; m <= chart_.SubCriteria(test); ++m)
            if (MustHave(test, m) && chart_.AnswerTo(p, test, m) != Answer::Yes)
                return RuledOut{test, m, chart_.AnswerTo(p, test, m)};
    return std::nullopt;
}

std::string CompareModel::RuledOutLine(int p) const {
    const auto ruledOut = RuledOutBy(p);
    if (!ruledOut) return {};
    const std::string& name = chart_.Test(ruledOut->test).subCriteria[static_cast<std::size_t>(ruledOut->subCriterion - 1)];
    return "Ruled out: " + name + " (" + chart_.TestLabel(ruledOut->test) + ") is " + AnswerText(ruledOut->answer);
}

std::string CompareModel::CountText() const {
    const int all = chart_.Programs();
    return std::to_string(view_.size()) + " of " + std::to_string(all) + (all == 1 ? " program" : " programs");
}

std::string CompareModel::SetShortlisted(int p, bool shortlisted) {
    if (p < 0 || p >= chart_.Programs()) return {};
    const auto found = std::find(shortlist_.begin(), shortlist_.end(), p);
    if (!shortlisted) {
        if (found != shortlist_.end()) shortlist_.erase(found);
        return {};
    }
    if (found != shortlist_.end()) return {};
    if (static_cast<int>(shortlist_.size()) >= kMaxShortlist) return kShortlistFullMessage;
    shortlist_.push_back(p);
    return {};
}

bool CompareModel::Shortlisted(int p) const {
    return std::find(shortlist_.begin(), shortlist_.end(), p) != shortlist_.end();
}

SubCriterionKey CompareModel::KeyOf(int test, int subCriterion) const {
    const auto& names = chart_.Test(test).subCriteria;
    const std::string& name = names[static_cast<std::size_t>(subCriterion - 1)];
    const int ordinal = static_cast<int>(std::count(names.begin(), names.begin() + subCriterion, name));
    return {test, name, ordinal};
}

std::optional<int> CompareModel::FindSubCriterion(const SubCriterionKey& key) const {
    if (!IsTest(key.test)) return std::nullopt;
    int seen = 0;
    const auto& names = chart_.Test(key.test).subCriteria;
    for (std::size_t m = 0; m < names.size(); ++m)
        if (names[m] == key.name && ++seen == key.ordinal) return static_cast<int>(m + 1);
    return std::nullopt;
}

std::vector<std::string> CompareModel::KeepChoicesOf(const CompareModel& before) {
    std::vector<std::string> notes;
    sortColumn_ = before.sortColumn_;
    order_ = before.order_;
    nameComparison_ = before.nameComparison_;
    SetFind(before.find_);

    std::vector<int> afterOf(static_cast<std::size_t>(before.chart_.Programs()), -1);
    for (const ProgramPair& pair : MatchPrograms(before.chart_.Identities(), chart_.Identities()))
        if (pair.before >= 0) afterOf[static_cast<std::size_t>(pair.before)] = pair.after;
    shortlist_.clear();
    for (const int p : before.shortlist_) {
        const int now = afterOf[static_cast<std::size_t>(p)];
        if (now >= 0) shortlist_.push_back(now);
        else notes.push_back(LeftTheShortlist(before.chart_.ProgramLabel(p)));
    }

    mustHaves_ = {};
    for (int test = 1; test <= kTestCount; ++test)
        for (int m = 1; m <= before.chart_.SubCriteria(test); ++m) {
            if (!before.MustHave(test, m)) continue;
            if (const auto now = FindSubCriterion(before.KeyOf(test, m))) MustHaveSlot(test, *now) = true;
            else notes.push_back(NoLongerAMustHave(before.chart_.Test(test).subCriteria[static_cast<std::size_t>(m - 1)],
                                                   before.chart_.TestLabel(test)));
        }
    Refresh();
    return notes;
}

CompareChoices CompareModel::Choices() const {
    CompareChoices choices{sortColumn_, order_, {}, {}};
    for (const int p : shortlist_) choices.shortlist.push_back(chart_.Identities().Key(p));
    for (int test = 1; test <= kTestCount; ++test)
        for (int m = 1; m <= chart_.SubCriteria(test); ++m)
            if (MustHave(test, m)) choices.mustHaves.push_back(KeyOf(test, m));
    return choices;
}

std::vector<std::string> CompareModel::Apply(const CompareChoices& choices) {
    std::vector<std::string> notes;
    sortColumn_ = choices.sortColumn >= 0 && choices.sortColumn < kCompareColumns ? choices.sortColumn : -1;
    order_ = choices.order;
    shortlist_.clear();
    for (const ProgramKey& key : choices.shortlist) {
        const int p = chart_.Identities().Find(key);
        if (p < 0) notes.push_back(LeftTheShortlist(key.name.empty() ? "A program without a name" : key.name));
        else if (!Shortlisted(p) && static_cast<int>(shortlist_.size()) < kMaxShortlist) shortlist_.push_back(p);
    }
    mustHaves_ = {};
    for (const SubCriterionKey& key : choices.mustHaves) {
        if (const auto m = FindSubCriterion(key)) MustHaveSlot(key.test, *m) = true;
        else if (IsTest(key.test)) notes.push_back(NoLongerAMustHave(key.name, CompareChart::ColumnHeading(key.test)));
    }
    Refresh();
    return notes;
}

void CompareModel::Refresh() {
    const int programs = chart_.Programs();
    kept_.assign(static_cast<std::size_t>(programs), false);
    view_.clear();
    for (int p = 0; p < programs; ++p) {
        if (!MatchesFind(p) || RuledOutBy(p)) continue;
        kept_[static_cast<std::size_t>(p)] = true;
        view_.push_back(p);
    }
    std::stable_sort(view_.begin(), view_.end(),
                     [this](int a, int b) { return Before(sortColumn_, order_, a, b); });
}

}  // namespace chart
