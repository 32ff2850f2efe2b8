#pragma once
// What the commit marker says (the roll-back marker is the same file renamed):
// which set the commit puts in place and which of its files are new. Written
// and read here only.
#include <optional>
#include <string>
#include <string_view>

#include "update/folder/chart_files.h"

namespace update {

// Its text, one line each: "+signatures" when the set holds the signatures,
// the bare names of the files that did not exist before (a roll-back removes
// those rather than restoring a backup), then "end". A marker without its
// last line is not whole, and a marker that is not whole says nothing.
class CommitMarker {
public:
    // A marker for set, none of its files new yet.
    explicit CommitMarker(FileSet set);
    // The marker a commit wrote; nothing when the text is not a whole marker
    // (cut short, or not one of ours).
    static std::optional<CommitMarker> Parse(std::string_view text);

    void MarkNew(const ChartFile& file);

    FileSet Set() const { return set_; }
    bool IsNew(const ChartFile& file) const;
    // The marker's bytes, its last line included.
    std::string Text() const;

private:
    FileSet set_;
    std::string lines_;  // without the last line
};

}  // namespace update
