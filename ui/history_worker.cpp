// The reload history worked out off the window's thread, one load at a time.
#include "ui/history_worker.h"

#include "ui/off_thread.h"

namespace vantrel::ui {

HistoryWorker::HistoryWorker(QObject* parent)
    : QObject(parent), history_(std::make_shared<chart::ReloadHistory>()), offThread_(new OffThread(this)) {}

void HistoryWorker::Start(std::shared_ptr<const chart::ShownChart> shown, chart::ReloadHistory::Seconds at) {
    Enqueue([shown = std::move(shown), at](chart::ReloadHistory& history) {
        history.Start(*shown, at);
        return Told();
    });
}

void HistoryWorker::Reload(std::shared_ptr<const chart::ShownChart> shown, chart::ReloadHistory::Seconds at,
                           std::string dataSignature) {
    Enqueue([shown = std::move(shown), at, signature = std::move(dataSignature)](chart::ReloadHistory& history) {
        history.Reload(*shown, at, signature);
        return history.HasTold() ? std::make_shared<const chart::ReloadHistory::Told>(history.Last()) : Told();
    });
}

void HistoryWorker::Enqueue(Job job) {
    jobs_.push_back(std::move(job));
    if (!running_) RunNext();
}

void HistoryWorker::RunNext() {
    if (jobs_.empty()) return;
    running_ = true;
    offThread_->Run<Told>([history = history_, job = std::move(jobs_.front())] { return job(*history); },
                          [this](Told told) {
                              running_ = false;
                              if (told && onTold) onTold(*told);
                              RunNext();
                          });
    jobs_.pop_front();
}

}  // namespace vantrel::ui
