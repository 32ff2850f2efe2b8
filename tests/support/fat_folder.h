#pragma once
// A FAT file system, as on a USB stick (no hard links, no symbolic links, no
// owners): an image made by mkfs.vfat and mounted through fusefat.
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace support {

// fusefat needs no kernel module, only /dev/fuse and the right to use it; it
// runs single-threaded (-s), as it is not safe with more than one request at a time.
class FatFolder {
public:
    FatFolder();
    // Unmounts and removes the file system.
    ~FatFolder();
    FatFolder(const FatFolder&) = delete;
    FatFolder& operator=(const FatFolder&) = delete;

    // False when it could not be mounted; Why() says what was missing.
    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    // The file system's root.
    std::filesystem::path Dir() const { return mountPoint_; }

private:
    TempDir scratch_{"vantrel-fat"};
    std::filesystem::path mountPoint_ = scratch_.Dir() / "stick";
    bool mounted_ = false;
    std::string why_;
};

}  // namespace support
