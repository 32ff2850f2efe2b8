// Why something in the chart folder could not be done, in its one wording.
#include "folder/folder_failure.h"

#include <cstring>

namespace folder {
namespace {

// path split into its folder and last part.
std::pair<std::string, std::string> FolderAndName(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

// What a user can do by hand with a marker no program can act on.
std::string DamagedMarkerAdvice(const std::string& marker) {
    const auto [folder, name] = FolderAndName(marker);
    return " To keep the new chart, rename each .vantrel-update-NAME.tmp in " + folder +
           " to NAME; to keep the chart from before that update instead, rename each "
           ".vantrel-update-NAME.old to NAME. Then delete " + name +
           " (the next start clears the rest), or delete every file of the chart and click Update.";
}

}  // namespace

std::string Reason(const Failure& f) {
    using Kind = Failure::Kind;
    switch (f.kind) {
    case Kind::WriteFailed:
        return "the file " + f.path + " could not be written (" + std::strerror(f.error) + ").";
    case Kind::ReadFailed:
        return "the file " + f.path + " could not be read (" + std::strerror(f.error) + ").";
    case Kind::FolderNotWritable:
        return "the chart folder " + f.path + " cannot be written to (" + std::strerror(f.error) + ").";
    case Kind::NotAFile:
        return "the file " + f.path + " could not be replaced, as it is not a regular file.";
    case Kind::NameTaken: {
        const auto [folder, name] = FolderAndName(f.path);
        return "the chart folder " + folder + " holds \"" + name +
               "\", which is not Vantrel's own and cannot be removed.";
    }
    case Kind::MarkerDamaged:
        if (f.error != 0) {
            return "the record of an unfinished update, " + f.path + ", could not be read (" +
                   std::strerror(f.error) + "), so that update cannot be finished." + DamagedMarkerAdvice(f.path);
        }
        return "the record of an unfinished update, " + f.path + ", is damaged, so that update cannot be finished." +
               DamagedMarkerAdvice(f.path);
    case Kind::AnotherCopyUpdating:
        return "another copy of Vantrel is updating this chart.";
    case Kind::Cancelled:
        break;
    }
    return "it was cancelled.";
}

std::string NotReadMessage(const Failure& f) {
    if (f.kind == Failure::Kind::MarkerDamaged) return "The chart was not read: " + Reason(f);
    return "The chart was not read: an update that was cut off could not be finished, as " + Reason(f);
}

}  // namespace folder
