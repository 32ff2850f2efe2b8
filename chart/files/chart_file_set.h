#pragma once
// The three files a chart is made of: the one table of their names (local,
// served, signatures) and of what readers see when one cannot be read, and the
// largest size any of them may have.
#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/files/chart_texts.h"

namespace chart {

struct ChartFileNames {
    const char* name;              // the viewer's bare local name
    const char* urlPath;           // on the data server
    const char* signatureUrlPath;  // its minisign signature on the data server
    const char* keptSignature;     // the accepted signature, kept beside the chart
    const char* missingMessage;    // what readers see when the viewer cannot read it

    // As the data server serves it, and as a publisher keeps it ("data.dat").
    constexpr const char* Served() const { return urlPath + 1; }
    constexpr const char* ServedSignature() const { return signatureUrlPath + 1; }
};

enum ChartFileIndex : std::size_t { kData = 0, kPolicy = 1, kVersion = 2 };

// In the order of ChartFileIndex, which is the update's download order.
inline constexpr std::array<ChartFileNames, 3> kChartFileTable{{
    {"data", "/data.dat", "/data.dat.minisig", "data.minisig", kNoDataFileMessage},
    {"policy", "/policy.dat", "/policy.dat.minisig", "policy.minisig", kNoPolicyFileMessage},
    {"version", "/version.dat", "/version.dat.minisig", "version.minisig", kNoVersionFileMessage},
}};

inline constexpr const char* kDataFileName = kChartFileTable[kData].name;
inline constexpr const char* kPolicyFileName = kChartFileTable[kPolicy].name;
inline constexpr const char* kVersionFileName = kChartFileTable[kVersion].name;

// A huge file (say 1 GB of one line) is refused at open instead of being read
// into memory, and the update downloads nothing larger.
inline constexpr std::uint64_t kChartFileSizeCap = 16u * 1024u * 1024u;

}  // namespace chart
