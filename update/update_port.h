#pragma once
// What the update worker needs from the window. Every call is made from the
// worker's thread; the desktop program posts each one as an event to the
// user-interface thread, which carries them out in the order made; tests record
// them in a queue.
#include <string>

namespace update {

class UpdatePort {
public:
    virtual ~UpdatePort() = default;
    virtual void SetGridEnabled(bool enabled) = 0;
    virtual void SetProgress(int position) = 0;
    // The three new files are in place: reload the chart (ReadAll).
    virtual void ReadAll() = 0;
    // The update failed; the files on disk are untouched. The window shows the
    // message, puts the grid back to its enabled state from before the update
    // and the progress bar to 0.
    virtual void UpdateFailed(const std::string& message) = 0;
    // The run is over, however it ended (the Update commands come back).
    virtual void UpdateFinished() = 0;
};

}  // namespace update
