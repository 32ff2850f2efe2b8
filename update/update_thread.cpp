#include "update/update_thread.h"

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
    // Counted before the thread can end and uncount itself.
    leftBehind_.fetch_add(1);
    if (!Tmt::LetGo(std::move(worker), [] { leftBehind_.fetch_sub(1); })) {
        leftBehind_.fetch_sub(1);
        return true;
    }
    anyLeftBehind_.store(true);
    return false;
}

}  // namespace update
