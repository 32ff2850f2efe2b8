#pragma once
// Where the window and the update worker meet: UpdatePort, what the worker asks
// of the window; UpdateControl, what the window asks of the updates.
#include <string>

namespace update {

// Every call is made from the worker's thread: the desktop program posts each
// one to the user-interface thread, which carries them out in the order made;
// tests record them.
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

class UpdateControl {
public:
    virtual ~UpdateControl() = default;
    // Starts an update reporting to port, unless one is running; false when ignored.
    virtual bool Start(UpdatePort& port) = 0;
    virtual bool Running() const = 0;
    // Stops a run still going (the window is closing) and returns within a
    // short grace, whatever the run is blocked on; false when it went on alone.
    virtual bool Cancel() = 0;
};

}  // namespace update
