// The publisher's minisign keys read as the tool takes them.
#include "publisher/public_key.h"

#include <sys/stat.h>

#include <cerrno>

#include "chart/verify/minisign.h"
#include "chart/verify/sodium_primitives.h"
#include "publisher/publisher_folder.h"
#include "publisher/usage_error.h"

namespace publisher {
namespace {

// A key file is two short lines; a secret key's a few hundred bytes.
constexpr std::uint64_t kKeyFileCap = 4096;

const chart::SodiumPrimitives& Primitives() {
    const chart::SodiumPrimitives* primitives = chart::SodiumPrimitives::Get();
    if (!primitives) throw UsageError("the key cannot be read: libsodium cannot be set up");
    return *primitives;
}

// The key line of a key file: the one after the untrusted comment; a file of
// one line may hold the key alone.
std::string KeyLineOf(const std::string& path) {
    const FileRead file = ReadBounded(path, kKeyFileCap);
    if (!file.bytes) throw UsageError("the key file '" + path + "' cannot be read (" + file.why + ")");
    std::string_view text = *file.bytes;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.starts_with("untrusted comment:") && !line.empty()) return std::string(line);
    }
    return {};
}

// What the line is, or why it is no public key.
std::string KeyOrWhy(std::string line, const std::string& argument) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    switch (chart::ClassifyKeyLine(Primitives(), line)) {
    case chart::KeyLine::PublicKey: return line;
    case chart::KeyLine::SecretKey:
        throw UsageError("'" + argument + "' is a secret key: give the public key (the .pub file, or its RW... line)");
    case chart::KeyLine::NotAKey: break;
    }
    throw UsageError("'" + argument + "' is not a minisign public key");
}

}  // namespace

std::string ReadPublicKey(const std::string& argument) {
    struct stat info;
    if (::stat(argument.c_str(), &info) != 0) {
        if (argument.starts_with("RW")) return KeyOrWhy(argument, argument.substr(0, 40));
        // A name that is no file: a path mistyped, most likely.
        if (errno == ENOENT && (argument.find('/') != std::string::npos || argument.find('.') != std::string::npos))
            throw UsageError("the key file '" + argument + "' cannot be read (no such file)");
        throw UsageError("--public-key takes a key line (RW...) or a .pub file, not '" + argument + "'");
    }
    return KeyOrWhy(KeyLineOf(argument), argument);
}

SecretKey ReadSecretKey(const std::string& path) {
    const std::string line = KeyLineOf(path);
    switch (chart::ClassifyKeyLine(Primitives(), line)) {
    case chart::KeyLine::SecretKey: return {chart::IsEncryptedSecretKey(Primitives(), line)};
    case chart::KeyLine::PublicKey:
        throw UsageError("'" + path + "' is a public key: -s takes the secret key (the file minisign -G wrote "
                         "with -s)");
    case chart::KeyLine::NotAKey: break;
    }
    throw UsageError("'" + path + "' is not a minisign secret key");
}

}  // namespace publisher
