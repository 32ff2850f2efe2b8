#pragma once
// Where the data reader puts the programs' rows: the window's grid model
// (GridRows), or whatever else a caller wants of them (the staged-chart check
// keeps none and only counts the programs the reader reports).
#include <string>

namespace chart {

class DataRows {
public:
    virtual ~DataRows() = default;
    // Before the first record: no program row yet, one spare row.
    virtual void Begin() = 0;
    // The row program p (counted from 0) fills.
    virtual int RowOf(int program) const = 0;
    virtual void SetCell(int col, int row, std::string text) = 0;
    // A program's record is complete: one row more.
    virtual void AddRow() = 0;
    // After the last record (not after a failure): the spare row goes.
    virtual void End() = 0;
};

}  // namespace chart
