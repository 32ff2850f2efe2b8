// Runs one update of the chart in DIRECTORY from the data server at BASE, as a
// process of its own that tests can kill or watch (and the update benchmark times).
//   vantrel_update_driver BASE DIRECTORY [PUBLIC_KEY]
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "update/tmt.h"

namespace {

class WaitingPort : public update::UpdatePort {
public:
    void SetGridEnabled(bool) override {}
    void SetProgress(int) override {}
    void ReadAll() override { reloaded_ = true; }
    void UpdateFailed(const std::string& message) override {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
    void UpdateFinished() override {
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    // True when the run ended with the reload.
    bool Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return finished_; });
        return reloaded_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool finished_ = false;
    bool reloaded_ = false;  // set on the worker's thread before UpdateFinished
};

}  // namespace

// Exits 0 when the new chart was put in place, 1 when the update failed (the
// reason on stderr), 2 on wrong usage. With PUBLIC_KEY (minisign's "RW..."
// line) only a chart signed with it is taken.
int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s BASE DIRECTORY [PUBLIC_KEY]\n", argv[0]);
        return 2;
    }
    update::UpdateSettings settings;
    settings.baseUrl = argv[1];
    settings.chartDirectory = argv[2];
    if (argc == 4) settings.publisherKey = argv[3];
    settings.connectTimeout = std::chrono::seconds(5);
    settings.stallTimeout = std::chrono::seconds(5);
    WaitingPort port;
    update::Tmt worker(port, settings);
    return port.Wait() ? 0 : 1;
}
