#pragma once
// Checks a file against a minisign signature file with a minisign public key,
// as minisign's documented format defines them:
//
//   public key line:  base64("Ed" | key id (8) | Ed25519 public key (32))
//   signature file:   "untrusted comment: ..." line
//                     base64(algorithm (2) | key id (8) | signature (64))
//                     "trusted comment: ..." line
//                     base64(global signature (64))
//
// The algorithm "ED" signs the file's BLAKE2b-512 hash, the legacy "Ed" the
// file itself; the global signature signs the signature followed by the
// trusted comment's text. All with libsodium; built into the HTTP module (and
// the publisher's tool). The caller reads the files: the chart folder has its
// own rules for opening them.
#include <string>

#include "update/http/signature_check.h"

namespace update {

SignatureCheck CheckMinisign(const std::string& publicKeyLine, const std::string& fileBytes,
                             const std::string& signatureBytes);

}  // namespace update
