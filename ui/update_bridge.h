#pragma once
// Connects the Update button and Options/Update to the update worker, whose
// reports it carries out on the user-interface thread in the order made.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "update/update_port.h"

namespace vantrel::ui {

class TForm1;

class UpdateBridge : public QObject, public update::UpdatePort {
    Q_OBJECT
public:
    // Makes itself form's update starter, and cancels a run when form closes.
    // updates: the program's updates (the built-in data server and the chart
    // folder; tests give a loopback server and shorter limits).
    UpdateBridge(TForm1& form, update::UpdateControl& updates);
    // Cancels a run still going; waits for its thread no longer than Cancel.
    ~UpdateBridge() override;

    // The Update commands: ignored while a run is going.
    void Start();
    // The window is closing: the run stops without touching the chart files,
    // and reports still pending are dropped. Returns within the holder's
    // grace, whatever the worker is blocked on (see UpdateControl).
    void Cancel();
    bool Running() const { return running_; }

    // update::UpdatePort, called from the worker's thread.
    void SetGridEnabled(bool enabled) override;
    void SetProgress(int position) override;
    void ReadAll() override;
    void UpdateFailed(const std::string& message) override;
    void UpdateFinished() override;

protected:
    // Carries out one posted report. Pending reports die with this object, so
    // that none of them touches a window that has gone.
    void customEvent(QEvent* event) override;

private:
    // Runs action on the user-interface thread, unless the window has gone or
    // the run was cancelled by then.
    void Post(std::function<void(TForm1&)> action);
    void Finished();

    QPointer<TForm1> form_;
    update::UpdateControl& updates_;
    // User-interface thread only.
    bool running_ = false;
    bool cancelled_ = false;
    bool gridEnabledBefore_ = false;
};

}  // namespace vantrel::ui
