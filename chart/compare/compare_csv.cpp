// The compare window's view written as CSV, formulas written so that no spreadsheet runs them.
#include "chart/compare/compare_csv.h"

#include "chart/compare/result_order.h"

namespace chart {
namespace {

bool RunsAsFormula(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) return false;
    return text != "-" && !ParseResultNumber(text).valid;
}

void AppendRow(std::string& csv, const std::vector<std::string_view>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) csv += ',';
        csv += CsvField(fields[i]);
    }
    csv += "\r\n";
}

}  // namespace

std::string CsvField(std::string_view text) {
    std::string field = RunsAsFormula(text) ? "'" : "";
    field += text;
    if (field.find_first_of("\",\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CompareCsv(const CompareModel& model) {
    const CompareChart& chart = model.Chart();
    std::vector<std::string> answerHeadings;
    for (int test = 1; test <= kTestCount; ++test)
        for (const std::string& name : chart.Test(test).subCriteria)
            answerHeadings.push_back(std::string(CompareChart::ColumnHeading(test)) + ": " + name);

    std::string csv;
    std::vector<std::string_view> fields;
    for (int column = 0; column < kCompareColumns; ++column) fields.push_back(CompareChart::ColumnHeading(column));
    fields.insert(fields.end(), answerHeadings.begin(), answerHeadings.end());
    AppendRow(csv, fields);
    for (const int p : model.View()) {
        fields.clear();
        for (int column = 0; column < kCompareColumns; ++column) fields.push_back(chart.Cell(p, column));
        for (int test = 1; test <= kTestCount; ++test)
            for (int m = 1; m <= chart.SubCriteria(test); ++m) fields.push_back(AnswerText(chart.AnswerTo(p, test, m)));
        AppendRow(csv, fields);
    }
    return csv;
}

}  // namespace chart
