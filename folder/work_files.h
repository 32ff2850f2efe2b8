#pragma once
// The chart folder as an update sees it: the one place that names, makes and
// removes its work files (staging files, backups, markers, lock files) and
// flushes the folder.
#include <sys/types.h>

#include <optional>
#include <string>

#include "chart/files/unique_fd.h"
#include "folder/chart_files.h"
#include "folder/folder_failure.h"

namespace folder {

// Nothing here follows a link, waits on a FIFO, or acts on what is not the
// user's own: the folder may be shared, or a copy anyone prepared.
class WorkFiles {
public:
    explicit WorkFiles(std::string directory);

    const std::string& Directory() const { return directory_; }
    std::string Target(const ChartFile& file) const;   // the chart file itself
    std::string Staging(const ChartFile& file) const;  // what the download is written to
    std::string Backup(const ChartFile& file) const;   // the replaced file's second name
    // The commit marker (what it says: commit_marker.h), written in full
    // under its own name first and renamed into place, so that a marker is
    // never partial; the roll-back marker is the same file renamed.
    const std::string& CommitMarker() const { return commitMarker_; }
    const std::string& CommitMarkerBeingWritten() const { return commitMarkerBeingWritten_; }
    const std::string& RollbackMarker() const { return rollbackMarker_; }
    // The one-updater lock's files (UpdateLock), which stay once made: the
    // one every copy and every earlier version takes, and the user's own.
    const std::string& LockFile() const { return lockFile_; }
    std::string OwnLockFile(uid_t user) const;

    // A new, empty regular file of the user's own at path, open for writing,
    // never writable by others whatever the umask (a group member must not
    // change a staged file after its checks). Whatever held the name is
    // removed first (never followed); a name that cannot be freed fails with
    // NameTaken, touching nothing else.
    Result<chart::UniqueFd> CreateFresh(const std::string& path, mode_t mode = kPrivateMode) const;
    // Markers: the user's alone. Staging files become the chart, which
    // others sharing the folder read.
    static constexpr mode_t kPrivateMode = 0600;
    static constexpr mode_t kChartMode = 0644;
    // Frees path for a link or rename onto it, as CreateFresh does.
    [[nodiscard]] std::optional<Failure> FreeName(const std::string& path) const;

    // True when path is a regular file of the user's own (or, with
    // linkToo, a symbolic link of the user's own: the backup of a chart file
    // that is a link).
    bool IsOwn(const std::string& path, bool linkToo = false) const;
    // Removes path when IsOwn; anything else there stays.
    void RemoveOwn(const std::string& path, bool linkToo = false) const;
    // Of every file a run may stage (kStagedFiles), and a commit marker not
    // yet in place.
    void RemoveStagingFiles() const;
    void RemoveBackups() const;

    // Whether the file has a backup, as a commit of the user's own makes it
    // (asked only while its marker is there): a file or a link of any owner,
    // as a backup is another name of the chart file it keeps, which may be
    // another member's in a shared folder.
    bool HasBackup(const ChartFile& file) const;
    // Removes the backups a commit of the user's own made of the files of its set.
    void RemoveCommitBackups(FileSet set) const;

    // The bytes of a regular file of the user's own at path, opened as every
    // work file is (no link followed, no FIFO waited on); nothing when the
    // name is free. Anything else there fails with NameTaken, a failed read
    // with ReadFailed, a file larger than cap with ReadFailed and EFBIG.
    Result<std::optional<std::string>> ReadOwnFile(const std::string& path, std::size_t cap) const;

    // Renames from to to, replacing what is there, as rename does. Where the
    // file system refuses to rename onto an existing name (EEXIST: FAT through
    // some FUSE drivers) the file at to is removed and the rename made again.
    // Only for a rename that a marker makes repeatable: killed between the two
    // steps, to is missing and from is still there, which is where the commit
    // or roll-back picks up. False, with errno set, when it fails; from missing
    // fails with ENOENT and leaves to alone.
    bool RenameOver(const std::string& from, const std::string& to) const;

    // Makes the folder's entries (new names, renames, removals) durable.
    [[nodiscard]] std::optional<Failure> Flush() const;

private:
    std::string directory_;
    std::string commitMarker_, commitMarkerBeingWritten_, rollbackMarker_, lockFile_;
};

}  // namespace folder
