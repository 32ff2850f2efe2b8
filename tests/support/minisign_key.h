#pragma once
// A minisign key pair made for one test with the minisign program, and
// signatures made with it the way a publisher makes them.
#include <cstdint>
#include <string>

#include "support/temp_dir.h"

namespace support {

class MinisignKey {
public:
    MinisignKey();  // a new key pair, without a password

    // The public key's "RW..." line, as the build would be given it.
    std::string PublicKey() const;
    // The key files as minisign wrote them.
    std::string PublicKeyFile() const { return dir_.Path() + "/key.pub"; }
    std::string SecretKeyFile() const { return dir_.Path() + "/key.sec"; }
    // The .minisig file for bytes, its trusted comment
    // "timestamp:<timestamp>\tfile:<name>" (no file field for an empty name); legacy: the "Ed" algorithm
    // instead of the prehashed "ED".
    std::string Sign(const std::string& bytes, std::uint64_t timestamp, const std::string& name,
                     bool legacy = false) const;

private:
    TempDir dir_{"vantrel-minisign"};
};

}  // namespace support
