// A FAT image made and mounted through fusefat.
#include "support/fat_folder.h"

#include <sys/stat.h>
#include <unistd.h>

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
        // A container or chroot often lacks the device unless it is bound in.
        why_ = ::access("/dev/fuse", R_OK | W_OK) != 0
                   ? "fuse: device not found: /dev/fuse is missing or not usable here (in a chroot, bind the "
                     "host's /dev/fuse)"
                   : "fusefat could not mount the image";
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
