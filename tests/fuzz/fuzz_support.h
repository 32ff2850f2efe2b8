#pragma once
// What the fuzz targets share: a scratch directory for the files they write,
// and a check that stops the run (a crash the fuzzer keeps) when a property
// does not hold.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace fuzz {

// Reports the broken property and aborts, so the fuzzer saves the input.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// One directory per process, made on first use and removed at exit.
inline const std::string& ScratchDirectory() {
    static const support::TempDir scratch("vantrel-fuzz");
    return scratch.Path();
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Require(static_cast<bool>(out.flush()), "scratch file written");
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace fuzz
