#pragma once
// The publisher's key as `check --public-key` and `sign -p` take it:
// minisign's public key line ("RW..."), or a .pub file holding it under its
// untrusted comment. A file is read as a chart file is (no FIFO waited on,
// a few KiB at most).
#include <string>

namespace publisher {

// The key line; a UsageError that says why when the argument is neither (a
// file that cannot be read, no key in it, or minisign's secret key).
std::string ReadPublicKey(const std::string& argument);

}  // namespace publisher
