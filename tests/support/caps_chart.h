#pragma once
// A chart whose data and policy files each fill the readers' 16 MiB cap: 50
// programs with names of a third of a megabyte, six tests of 49 long
// sub-criteria (UTF-8 to be decoded).
#include <array>
#include <string>

namespace support {

// The files' bytes, in the chart file table's order: data, policy, version.
// Each edition renames every program (at the same page) and changes every
// result and answer, so that two editions differ in everything a reader sees.
std::array<std::string, 3> ChartAtTheCaps(int edition);

}  // namespace support
