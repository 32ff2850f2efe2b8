#pragma once
// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes.
#include <filesystem>
#include <string>
#include <string_view>

namespace support {

class TempDir {
public:
    // The folder's name starts with prefix ("vantrel-chart-4f2kQz").
    explicit TempDir(std::string_view prefix = "vantrel");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::filesystem::path Dir() const { return path_; }
    // Writes the bytes to the file name in the folder, replacing it.
    void Write(const std::string& name, std::string_view bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace support
