// UpdateThread: starts a worker, stops it within a grace, and lets a stuck one go.
#include "update/update_thread.h"

#include <system_error>
#include <thread>

namespace update {

bool UpdateThread::Start(UpdatePort& port) {
    if (Running()) return false;
    worker_.reset();  // joins a finished worker (already past its last port call)
    worker_ = std::make_unique<Tmt>(port, settings_);
    return true;
}

bool UpdateThread::Running() const { return worker_ && worker_->Running(); }

bool UpdateThread::Cancel() { return Leave(std::move(worker_), kLeaveGrace); }

bool UpdateThread::Leave(std::unique_ptr<Tmt> worker, std::chrono::milliseconds grace) {
    if (!worker || worker->StopWithin(grace)) return true;  // its destructor joins a thread past its last step
    LetGo(std::move(worker));
    return false;
}

void UpdateThread::LetGo(std::unique_ptr<Tmt> worker) {
    // Counted before the waiting thread can end and uncount it.
    leftBehind_.fetch_add(1);
    anyLeftBehind_.store(true);
    // Held by a bare pointer until the thread has it: a thread that cannot be
    // started must not free the worker here, joining its blocked thread.
    Tmt* const stuck = worker.release();
    try {
        std::thread([stuck] {
            delete stuck;  // joins the worker's thread once its blocked call comes back
            leftBehind_.fetch_sub(1);
        }).detach();
    } catch (const std::system_error&) {
        // No thread to wait with: the worker stays, counted for good, and the
        // program ends without its exit handlers as for any worker let go.
    }
}

}  // namespace update
