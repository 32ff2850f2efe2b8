#pragma once
// The reload history worked out off the window's thread, the loads in order and
// one at a time, what a reload tells handed back on the window's thread.
#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "chart/diff/reload_history.h"

namespace vantrel::ui {

class OffThread;

// A chart at the size caps takes a tenth of a second to reduce to what readers
// see, which would hold the window.
class HistoryWorker : public QObject {
    Q_OBJECT
public:
    explicit HistoryWorker(QObject* parent = nullptr);

    // As ReloadHistory's, each after the ones before it; the chart shown is
    // shared with the window (Compare shows it too), never changed.
    void Start(std::shared_ptr<const chart::ShownChart> shown, chart::ReloadHistory::Seconds at);
    void Reload(std::shared_ptr<const chart::ShownChart> shown, chart::ReloadHistory::Seconds at,
                std::string dataSignature);

    // Told on the window's thread after each reload that has something to tell.
    std::function<void(const chart::ReloadHistory::Told& told)> onTold;
    // Whether a load handed over is still being worked out.
    bool Working() const { return running_; }

private:
    // A step of the history; what it tells, if anything.
    using Told = std::shared_ptr<const chart::ReloadHistory::Told>;
    using Job = std::function<Told(chart::ReloadHistory&)>;
    void Enqueue(Job job);
    void RunNext();

    // Touched by one job at a time, and kept by a job still running when the window goes.
    std::shared_ptr<chart::ReloadHistory> history_;
    OffThread* offThread_;
    std::deque<Job> jobs_;
    bool running_ = false;
};

}  // namespace vantrel::ui
