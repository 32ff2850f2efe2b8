#pragma once
// The process's peak resident memory, as the benchmarks print it.
#include <cstdlib>
#include <fstream>
#include <string>

namespace support {

// VmHWM of /proc/self/status, in MiB; 0 when it cannot be read.
inline double PeakMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

}  // namespace support
