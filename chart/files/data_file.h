#pragma once
// The data file: one record per program (its page address, its name, its
// detail flags, its results), each record ended by an empty line. Its reader
// fills the tables' program slots and the grid's rows.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/files/data_rows.h"
#include "chart/tables/chart_tables.h"
#include "chart/tables/grid_model.h"

namespace chart {

// A results line fills grid columns 1 onward; the grid shows columns 0 to 7.
// Words beyond it are stored up to this column count (columns 8 to 63, never
// shown), and the rest of the line is not stored.
inline constexpr int kStoredResultColumns = 64;

// What a read of the data file found.
struct DataFileSummary {
    int programs = 0;  // complete records stored: the grid's rows 1 to programs

    bool operator==(const DataFileSummary&) const = default;
};

// Where one record of the data file stood, for tools that point at its lines.
// A record starts at a line that is not empty and runs to the next empty line.
struct DataRecordLines {
    // Of a record's lines, the first few are kept to be quoted.
    static constexpr std::size_t kKeptLines = 12;

    long long first = 0;    // its first line, counted from 1
    long long count = 0;    // its lines, without the empty line that ends it
    bool ended = false;     // by its empty line (false: by the end of the file)
    bool complete = false;  // its fourth line was read: it made a program
    int row = 0;            // the grid row it filled; 0 when none
    int results = 0;        // the result cells its fourth line wrote (columns 1 on)
    std::vector<std::string> lines;  // its first lines, at most kKeptLines

    bool operator==(const DataRecordLines&) const = default;
};

// Told of each record once it has ended (by its empty line or the file's end).
using DataRecordSink = std::function<void(const DataRecordLines&)>;

// Reads the data file from its bytes (read before, as one set with the other
// two: ChartSnapshot): record r goes to the tables' slot r and the grid's row
// r, and with N complete records the grid ends with N + 1 rows. Records
// beyond the tables' bounds are read past. Reports what it read. A failure
// (of the selection handler that a row-count change runs) is raised as it
// comes: what was stored stays, and the grid keeps one spare row.
// With a sink, each record is handed to it as it ends, so that a tool can
// look at every record of a file however long without keeping them all.
DataFileSummary ReadDataBytes(std::string_view bytes, ChartTables& tables, GridModel& grid,
                              const DataRecordSink& records = {});
// The same into other rows than the grid's.
DataFileSummary ReadDataBytes(std::string_view bytes, ChartTables& tables, DataRows& rows,
                              const DataRecordSink& records = {});

}  // namespace chart
