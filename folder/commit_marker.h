#pragma once
// What the commit marker says (the roll-back marker is the same file renamed):
// which set the commit puts in place and which of its files are new. Written
// and read here only.
#include <optional>
#include <string>
#include <string_view>

#include "folder/chart_files.h"

namespace folder {

// Its text, one line each: "+signatures" when the set holds the signatures,
// the bare names of the files that did not exist before (a roll-back removes
// those rather than restoring a backup), then "end". The version before
// wrote the same lines without "end" (an unsigned commit of files that all
// existed: an empty marker); such a marker means what it meant then. Any
// other text says nothing: the marker is damaged.
class CommitMarker {
public:
    // A marker for set, none of its files new yet.
    explicit CommitMarker(FileSet set);
    // The marker a commit of this version or the one before wrote; nothing
    // when the text is neither.
    static std::optional<CommitMarker> Parse(std::string_view text);

    void MarkNew(const ChartFile& file);

    FileSet Set() const { return set_; }
    bool IsNew(const ChartFile& file) const;
    // Written by the version before (without "end").
    bool Older() const { return older_; }
    // The marker's bytes, its last line included.
    std::string Text() const;

private:
    FileSet set_;
    std::string lines_;  // without the last line
    bool older_ = false;
};

}  // namespace folder
