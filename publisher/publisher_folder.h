#pragma once
// A chart as a publisher keeps it: data.dat, policy.dat and version.dat (the
// names the data server serves), with data.dat.minisig and so on beside them
// when the chart is signed. A folder holding the viewer's own names (data,
// policy, version) is taken too. Only read, never written.
#include <array>
#include <optional>
#include <string>

namespace publisher {

class PublisherFolder {
public:
    // Files in the order data, policy, version.
    static constexpr std::size_t kFiles = 3;

    explicit PublisherFolder(std::string directory);

    const std::string& Directory() const { return directory_; }
    // The file's name as found (the served name, or the viewer's); for a
    // missing file, the name the folder's other files suggest.
    const std::string& Name(std::size_t file) const { return names_[file]; }
    std::string Path(std::size_t file) const { return directory_ + "/" + names_[file]; }
    std::array<std::string, kFiles> Paths() const;
    // The signature's name beside the file ("data.dat.minisig"), when there is one.
    std::optional<std::string> SignatureName(std::size_t file) const;

private:
    std::string directory_;
    std::array<std::string, kFiles> names_;
};

// Whether path names a folder that can be listed; the tool's usage fault otherwise.
bool IsReadableFolder(const std::string& path);

}  // namespace publisher
