// A minisign key pair made per test, and signatures made with it.
#include "support/minisign_key.h"

#include <sstream>
#include <stdexcept>

#include "support/child_process.h"

namespace support {

MinisignKey::MinisignKey() {
    if (!RunProgram({"minisign", "-G", "-W", "-q", "-p", dir_.Path() + "/key.pub", "-s",
                     dir_.Path() + "/key.sec"})) {
        throw std::runtime_error("minisign -G failed");
    }
}

std::string MinisignKey::PublicKey() const {
    std::istringstream lines(dir_.Read("key.pub"));
    std::string line;
    std::getline(lines, line);  // its untrusted comment
    std::getline(lines, line);
    return line;
}

std::string MinisignKey::Sign(const std::string& bytes, std::uint64_t timestamp, const std::string& name,
                              bool legacy) const {
    dir_.Write("file", bytes);
    std::vector<std::string> argv{"minisign", "-S", "-s", dir_.Path() + "/key.sec", "-m",
                                  dir_.Path() + "/file", "-x", dir_.Path() + "/file.minisig", "-t",
                                  "timestamp:" + std::to_string(timestamp) + (name.empty() ? "" : "\tfile:" + name)};
    if (legacy) argv.push_back("-l");
    if (!RunProgram(argv)) throw std::runtime_error("minisign -S failed");
    return dir_.Read("file.minisig");
}

}  // namespace support
