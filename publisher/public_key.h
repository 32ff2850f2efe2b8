#pragma once
// The publisher's key as `check --public-key` takes it: minisign's public key
// line ("RW..."), or a .pub file holding it under its untrusted comment.
#include <string>

namespace publisher {

// The key line; a UsageError when the argument is neither.
std::string ReadPublicKey(const std::string& argument);

}  // namespace publisher
