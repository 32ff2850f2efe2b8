#pragma once
// What the fuzz targets share: a scratch directory for the files they write,
// and a check that stops the run (a crash the fuzzer keeps) when a property
// does not hold.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fuzz {

// Reports the broken property and aborts, so the fuzzer saves the input.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// One directory per process, made on first use and removed at exit.
inline const std::string& ScratchDirectory() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        static struct Remover {
            std::string dir;
            ~Remover() {
                std::error_code ignored;
                std::filesystem::remove_all(dir, ignored);
            }
        } remover{pattern};
        return pattern;
    }();
    return path;
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
