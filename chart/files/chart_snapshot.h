#pragma once
// The three files of a chart as one load reads them: each file's bytes, or
// the failure its read met. Plain data: reading them from the chart folder as
// one chart, never two mixed, is the folder module's.
#include <array>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "chart/files/chart_file_set.h"

namespace chart {

class ChartSnapshot {
public:
    // One file as read: its bytes, or the failure the read met.
    struct File {
        std::string bytes = {};
        std::exception_ptr failure = {};
    };

    // In the order of kChartFileTable.
    explicit ChartSnapshot(std::array<File, 3> files) : files_(std::move(files)) {}
    // A chart read elsewhere (the publisher's own files): each file's bytes in
    // the order of kChartFileTable, or nothing for one that could not be read.
    explicit ChartSnapshot(const std::array<std::optional<std::string>, 3>& files);

    // Whether name ("data", ...) is one of the files read.
    bool Holds(std::string_view name) const;
    // The file's bytes; raises the failure its read met (FileError), as the
    // reader reading the file itself would have.
    std::string_view Bytes(std::string_view name) const;

    // The data file's signature kept beside a signed chart, read with the
    // three files (its trusted comment dates the release); empty: none.
    const std::string& DataSignature() const { return dataSignature_; }
    void SetDataSignature(std::string signature) { dataSignature_ = std::move(signature); }

private:
    const File* Find(std::string_view name) const;

    std::array<File, 3> files_;
    std::string dataSignature_;
};

}  // namespace chart
