#include "support/fat_folder.h"

#include <sys/stat.h>

#include <cstdlib>

namespace support {
namespace {

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

FatFolder::FatFolder() {
    const std::string image = (scratch_.Dir() / "stick.img").string();
    std::filesystem::create_directory(mountPoint_);
    if (!Run("mkfs.vfat -C '" + image + "' 16384")) {
        why_ = "mkfs.vfat (dosfstools) is missing";
        return;
    }
    if (!Run("fusefat -s -o rw+ '" + image + "' '" + mountPoint_.string() + "'")) {
        why_ = "fusefat could not mount the image (is /dev/fuse there and usable?)";
        return;
    }
    // Mounted when the root is on another device than the folder holding it.
    struct stat root, parent;
    mounted_ = ::stat(mountPoint_.c_str(), &root) == 0 && ::stat(scratch_.Path().c_str(), &parent) == 0 &&
               root.st_dev != parent.st_dev;
    if (!mounted_) why_ = "fusefat did not mount the image";
}

FatFolder::~FatFolder() {
    if (mounted_) Run("fusermount -u '" + mountPoint_.string() + "'");
}

}  // namespace support
