// Reads the HTTP module's ELF headers to check that all it would map lies within the file.
#include "update/module_file_check.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "chart/files/unique_fd.h"

namespace update {
namespace {

// 32- or 64-bit, as the program itself.
constexpr unsigned char kNativeClass = __ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32;

// All of [offset, offset + size) read, or false.
bool ReadExactly(int fd, void* into, std::size_t size, std::uint64_t offset) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// [offset, offset + size) lies within a file of fileSize bytes.
bool Within(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

bool CoversItsSegments(int fd, std::uint64_t fileSize) {
    ElfW(Ehdr) header;
    if (!ReadExactly(fd, &header, sizeof header, 0)) return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return false;
    if (header.e_ident[EI_CLASS] != kNativeClass || header.e_phentsize != sizeof(ElfW(Phdr))) return false;

    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    const std::uint64_t tableSize = std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
    if (!Within(header.e_phoff, tableSize, fileSize)) return false;
    if (!ReadExactly(fd, segments.data(), tableSize, header.e_phoff)) return false;
    for (const ElfW(Phdr)& segment : segments) {
        if (segment.p_type == PT_LOAD && !Within(segment.p_offset, segment.p_filesz, fileSize)) return false;
    }
    return true;
}

}  // namespace

std::optional<Failure> CheckModuleIsWhole(const std::string& path) {
    const chart::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) return std::nullopt;
    struct stat info {};
    const bool whole = ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
                       CoversItsSegments(fd.Get(), static_cast<std::uint64_t>(info.st_size));
    if (whole) return std::nullopt;
    Failure failure = MakeFailure(FailureKind::ModuleDamaged);
    failure.detail = path;
    return failure;
}

}  // namespace update
