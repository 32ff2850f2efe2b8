// The files under tests/data, read by name.
#include "support/test_data.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace support {

std::filesystem::path TestDataPath(const std::string& relative) {
    return std::filesystem::path(VANTREL_TEST_DATA_DIR) / relative;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TestData(const std::string& relative) {
    const std::filesystem::path path = TestDataPath(relative);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read test data " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace support
