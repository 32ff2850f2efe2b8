#include "publisher/public_key.h"

#include <fstream>

#include "publisher/arguments.h"

namespace publisher {

std::string ReadPublicKey(const std::string& argument) {
    std::ifstream file(argument);
    if (!file) {
        if (argument.starts_with("RW")) return argument;
        throw UsageError("--public-key takes a key line (RW...) or a .pub file, not '" + argument + "'");
    }
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("RW")) return line;
    }
    throw UsageError("the file '" + argument + "' holds no public key line (RW...)");
}

}  // namespace publisher
