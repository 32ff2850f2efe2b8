#pragma once
// The publisher's minisign keys as the tool takes them: the public key for
// `check --public-key` and `sign -p`, the secret key for `sign -s`.
#include <string>

namespace publisher {

// The key line, from minisign's public key line "RW..." or a .pub file holding
// it under its untrusted comment; a UsageError that says why when the argument
// is neither (a file that cannot be read, no key in it, or minisign's secret
// key). A file is read as a chart file is: no FIFO waited on, a few KiB at most.
std::string ReadPublicKey(const std::string& argument);

struct SecretKey {
    // minisign asks for its password before it signs.
    bool encrypted = false;
};

// What the secret key file (as minisign -G wrote it) is, read as above; a
// UsageError that says why when it is none
// (a file that cannot be read, no key in it, or minisign's public key).
SecretKey ReadSecretKey(const std::string& path);

}  // namespace publisher
