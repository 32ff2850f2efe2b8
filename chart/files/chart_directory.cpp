// Which folder holds the chart: beside the program, or the user's data folder seeded with the sample.
#include "chart/files/chart_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "chart/files/chart_file_set.h"
#include "chart/files/local_path.h"

namespace chart {
namespace {

// 0 when path is a folder the program may create and rename files in,
// otherwise the errno that says why not.
int DirectoryWriteError(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return errno;
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
    if (access(path.c_str(), W_OK | X_OK) != 0) return errno;
    return 0;
}

// Creates path and any missing parents, each private to the user as the XDG
// base directory rules ask. Returns 0 or the errno of the step that failed.
int MakeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) return 0;
    }
}

// Copies one chart file the user's folder lacks. The copy is written under a
// temporary name and then linked into place, so an interrupted start never
// leaves a half file that later starts would take for a chart, and a file
// that appeared meanwhile (another copy's update) is never overwritten. A
// file that cannot be copied stays missing: the reader then reports it.
void SeedMissingFile(const std::string& from, const std::string& to, const std::string& name) {
    const std::string target = LocalPath(to, name);
    struct stat info {};
    if (lstat(target.c_str(), &info) == 0 || errno != ENOENT) return;
    const std::string source = LocalPath(from, name);
    if (stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    const std::string temporary = LocalPath(to, ".vantrel-seed-" + name + ".tmp");
    std::error_code error;
    std::filesystem::copy_file(source, temporary, std::filesystem::copy_options::overwrite_existing, error);
    if (!error && link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST)
        std::rename(temporary.c_str(), target.c_str());  // a file system without hard links
    std::filesystem::remove(temporary, error);
}

std::string CannotKeepChartMessage(const std::string& executableDirectory,
                                   const std::string& userDirectory, int error) {
    std::string text = "The chart cannot be updated: the program's folder " + executableDirectory +
                       " is read-only, and ";
    if (userDirectory.empty())
        text += "no folder of your own is known for it (neither XDG_DATA_HOME nor HOME is set).";
    else
        text += "the folder " + userDirectory + " could not be created or written (" +
                std::strerror(error) + ").";
    return text + " The chart beside the program is shown.";
}

constexpr const char* kNoProgramFolderMessage =
    "The chart cannot be shown or updated: the program's own folder could not be found "
    "(/proc/self/exe cannot be read).";

}  // namespace

ChartDirectoryPlaces RunningProgramPlaces() {
    ChartDirectoryPlaces places;
    places.executableDirectory = ExecutableDirectory().value_or(std::string());
    if (const char* dataHome = std::getenv("XDG_DATA_HOME")) places.dataHome = dataHome;
    if (const char* home = std::getenv("HOME"); home && *home) {
        places.home = home;
    } else if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) {
        places.home = user->pw_dir;
    }
    return places;
}

std::string UserChartDirectory(const ChartDirectoryPlaces& places) {
    // The XDG rules: a relative XDG_DATA_HOME is invalid and is ignored.
    if (!places.dataHome.empty() && places.dataHome.front() == '/')
        return LocalPath(places.dataHome, "vantrel");
    if (!places.home.empty() && places.home.front() == '/')
        return LocalPath(places.home, ".local/share/vantrel");
    return {};
}

std::string ChooseChartDirectory(const ChartDirectoryPlaces& places, MessagePort& messages) {
    const std::string& beside = places.executableDirectory;
    // Not the current folder instead: that is wherever the program was started.
    if (beside.empty()) {
        messages.ShowMessage(kNoProgramFolderMessage);
        return {};
    }
    if (DirectoryWriteError(beside) == 0) return beside;

    const std::string own = UserChartDirectory(places);
    int error = EACCES;
    if (!own.empty()) {
        error = MakeDirectories(own);
        if (error == 0) error = DirectoryWriteError(own);
        if (error == 0) {
            for (const ChartFileNames& file : kChartFileTable) SeedMissingFile(beside, own, file.name);
            return own;
        }
    }
    messages.ShowMessage(CannotKeepChartMessage(beside, own, error));
    return beside;
}

}  // namespace chart
