#pragma once
// A chart as a publisher keeps it, only ever read: data.dat, policy.dat and
// version.dat (the served names; the viewer's own are taken too), with their
// signatures (data.dat.minisig, ...) beside them when the chart is signed.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace publisher {

// A file of the folder as read: its bytes, or why it could not be read, in
// words ("it is a folder").
struct FileRead {
    std::optional<std::string> bytes;
    std::string why;
};

class PublisherFolder {
public:
    // Files in the order of chart::kChartFileTable: data, policy, version.
    static constexpr std::size_t kFiles = 3;

    explicit PublisherFolder(std::string directory);

    const std::string& Directory() const { return directory_; }
    // The file's name as found (the served name, or the viewer's); for a
    // missing file, the name the folder's other files suggest.
    const std::string& Name(std::size_t file) const { return names_[file]; }
    const std::array<std::string, kFiles>& Names() const { return names_; }
    std::string Path(std::size_t file) const { return directory_ + "/" + names_[file]; }
    // Whether the file is found under the viewer's name beside others under
    // the served names (the data server would not have it).
    bool UnderTheViewersNameAmongServed(std::size_t file) const;
    // Whether every file is found under its served name.
    bool AllServed() const;
    // The signature's name beside the file: "data.dat.minisig" beside the
    // served name, "data.minisig" beside the viewer's (as it keeps them).
    std::string SignatureName(std::size_t file) const;
    std::string SignaturePath(std::size_t file) const { return directory_ + "/" + SignatureName(file); }

    FileRead Read(std::size_t file) const;
    // The three files, each as the viewer would read it (a regular file, at
    // most a chart file's size).
    std::array<FileRead, kFiles> ReadAll() const;

private:
    std::string directory_;
    std::array<std::string, kFiles> names_;
    std::array<bool, kFiles> served_{};
};

// Reads a file as the viewer reads a chart file (never waiting on a FIFO or
// a device, never more than cap bytes); why not in words.
FileRead ReadBounded(const std::string& path, std::uint64_t cap);

// Whether path names a folder that can be listed; the tool's usage fault otherwise.
bool IsReadableFolder(const std::string& path);

}  // namespace publisher
