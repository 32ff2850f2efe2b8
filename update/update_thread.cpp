#include "update/update_thread.h"

namespace update {

bool UpdateThread::Start(UpdatePort& port, UpdateSettings settings) {
    if (Running()) return false;
    worker_.reset();  // joins a finished worker (already past its last port call)
    worker_ = std::make_unique<Tmt>(port, std::move(settings));
    return true;
}

bool UpdateThread::Running() const { return worker_ && worker_->Running(); }

bool UpdateThread::Cancel() { return Tmt::Leave(std::move(worker_), kLeaveGrace); }

}  // namespace update
