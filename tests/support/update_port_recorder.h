#pragma once
// Records the update worker's calls to the window, in order, from whichever
// thread makes them, and lets a test wait for the run's end.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "update/update_port.h"

namespace support {

class UpdatePortRecorder : public update::UpdatePort {
public:
    void SetGridEnabled(bool enabled) override { Record(enabled ? "grid on" : "grid off"); }
    void SetProgress(int position) override { Record("progress " + std::to_string(position)); }
    void ReadAll() override {
        if (onReadAll) onReadAll();
        Record("ReadAll");
    }
    void UpdateFailed(const std::string& message) override {
        {
            std::lock_guard lock(mutex_);
            messages_.push_back(message);
        }
        Record("failed");
    }
    void UpdateFinished() override {
        Record("finished");
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }

    bool WaitFinished(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return finished_; });
    }
    std::vector<std::string> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    std::vector<std::string> Messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }

    std::function<void()> onReadAll;  // runs on the worker's thread in tests

private:
    void Record(std::string call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> calls_;
    std::vector<std::string> messages_;
    bool finished_ = false;
};

}  // namespace support
