#pragma once
// The files the tests share, kept under tests/data/: charts and server answers.
#include <filesystem>
#include <string>

namespace support {

// The bytes of tests/data/<relative>; throws when the file cannot be read, so a
// missing case fails loudly instead of reading as empty.
std::string TestData(const std::string& relative);
std::filesystem::path TestDataPath(const std::string& relative);
// The bytes of any file; "" when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace support
