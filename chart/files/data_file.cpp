// The data file's reader: each record into the tables' program slots and the grid's rows.
#include "chart/files/data_file.h"

#include "chart/files/chart_file_set.h"
#include "chart/files/grid_rows.h"
#include "chart/files/line_reader.h"

namespace chart {
namespace {

constexpr int kResultColumns = GridModel::kColCount - 1;  // columns 1..7

// Writes the words of a results line into row `row` from column `col` on:
// every space ends a word, so consecutive spaces give empty cells and a
// trailing space one more empty cell. Words past the last stored column are
// read past: a line of millions of words costs no cell for each.
// Answers the number of words written.
int WriteResults(DataRows& grid, const std::string& line, int col, int row) {
    const int first = col;
    size_t start = 0;
    while (col < kStoredResultColumns) {
        const size_t space = line.find(' ', start);
        const size_t end = space == std::string::npos ? line.size() : space;
        grid.SetCell(col++, row, line.substr(start, end - start));
        if (space == std::string::npos) break;
        start = space + 1;
    }
    return col - first;
}

// Follows the records as the reader goes through them, for a caller that
// asked where they stood: each is handed over once it has ended.
class RecordNotes {
public:
    explicit RecordNotes(const DataRecordSink& sink) : sink_(sink) {}

    void Line(long long line, int lineInRecord, const std::string& s, int row, int results) {
        if (!sink_) return;
        // A line after the first of a record finds it open: empty lines reset the count.
        const bool open = lineInRecord > 1;
        if (!open && s.empty()) return;  // an empty line between records
        if (!open) Begin(line);
        open_ = true;
        // An empty fourth line both makes the program and ends its record.
        if (lineInRecord == 4) {
            record_.complete = true;
            record_.row = row;
            record_.results = results;
        }
        if (s.empty()) {
            record_.ended = true;
            End();
            return;
        }
        ++record_.count;
        if (record_.lines.size() < DataRecordLines::kKeptLines) record_.lines.push_back(s);
    }
    // The end of the file: a record still open ends there.
    void Finish() {
        if (sink_ && open_) End();
    }

private:
    // A new record, reusing the storage of the last one's lines.
    void Begin(long long line) {
        std::vector<std::string> lines = std::move(record_.lines);
        lines.clear();
        record_ = {.first = line, .lines = std::move(lines)};
    }
    void End() {
        open_ = false;
        sink_(record_);
    }

    const DataRecordSink& sink_;
    DataRecordLines record_;
    bool open_ = false;
};

DataFileSummary ReadRecords(LineReader& file, ChartTables& tables, DataRows& grid,
                            const DataRecordSink& sink) {
    RecordNotes notes(sink);
    int p = 0;  // records completed
    int lineInRecord = 0;
    grid.Begin();

    long long lines = 0;
    std::string s;
    while (!file.AtEnd()) {
        file.ReadLine(s);
        ++lines;
        if (lineInRecord < 5) ++lineInRecord;  // lines 5 onward are ignored alike
        // Records beyond the tables' bounds are read past and dropped.
        const bool hasSlot = p < kMaxPrograms;
        const int row = grid.RowOf(p);
        int results = 0;  // words of a results line written

        if (hasSlot) {
            if (lineInRecord == 1) tables.SetProductUrl(p + 1, s);
            if (lineInRecord == 2) grid.SetCell(0, row, s);
            if (lineInRecord == 3) tables.SetProductDetail(p + 1, s);
            if (lineInRecord == 4) {
                if (s.empty()) {
                    // A program with no results: its result cells are empty.
                    for (int col = 1; col <= kResultColumns; ++col) grid.SetCell(col, row, "");
                    results = kResultColumns;
                } else {
                    results = WriteResults(grid, s, 1, row);
                }
                grid.AddRow();
                ++p;
            }
        }
        notes.Line(lines, lineInRecord, s, hasSlot ? row : 0, results);
        if (s.empty()) lineInRecord = 0;  // the record is over
    }
    notes.Finish();
    // Not reached after a failure: the spare row then stays.
    grid.End();
    return {.programs = p};
}

}  // namespace

DataFileSummary ReadDataBytes(std::string_view bytes, ChartTables& tables, DataRows& rows,
                              const DataRecordSink& records) {
    LineReader file(ByteInput{bytes});
    return ReadRecords(file, tables, rows, records);
}

DataFileSummary ReadDataBytes(std::string_view bytes, ChartTables& tables, GridModel& grid,
                              const DataRecordSink& records) {
    GridRows rows(grid);
    return ReadDataBytes(bytes, tables, rows, records);
}

}  // namespace chart
