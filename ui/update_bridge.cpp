#include "ui/update_bridge.h"

#include <utility>

#include "ui/Unit1.h"

namespace vantrel::ui {

UpdateBridge::UpdateBridge(TForm1& form, update::UpdateSettings settings)
    : form_(&form), settings_(std::move(settings)) {
    form.SetUpdateStarter([this] { Start(); });
    connect(&form, &TForm1::closed, this, &UpdateBridge::Cancel);
    // A window destroyed without being closed first (tests) stops the run too.
    connect(&form, &QObject::destroyed, this, &UpdateBridge::Cancel);
}

UpdateBridge::~UpdateBridge() {
    if (form_)
        form_->SetUpdateStarter(nullptr);
    updates_.Cancel();  // the worker makes no port call after this
}

void UpdateBridge::Start() {
    // One run at a time: two workers must never write the same files.
    if (running_ || cancelled_ || !form_)
        return;
    gridEnabledBefore_ = form_->GridEnabled();
    form_->SetUpdateCommandsEnabled(false);
    running_ = true;
    try {
        // The holder refuses a second run too; running_ also covers the time
        // until the finished run's last report has been carried out here.
        updates_.Start(*this, settings_);
    } catch (...) {
        // No thread could be started: the commands come back at once.
        running_ = false;
        form_->SetUpdateCommandsEnabled(true);
        throw;
    }
}

void UpdateBridge::Cancel() {
    cancelled_ = true;
    updates_.Cancel();  // the worker makes no port call after this
    running_ = false;
}

void UpdateBridge::Post(std::function<void(TForm1&)> action) {
    // Queued to this object: carried out on its (the user-interface) thread in
    // the order posted, and dropped if this object goes first.
    QMetaObject::invokeMethod(
        this,
        [this, action = std::move(action)] {
            if (!cancelled_ && form_)
                action(*form_);
        },
        Qt::QueuedConnection);
}

void UpdateBridge::SetGridEnabled(bool enabled) {
    Post([enabled](TForm1& form) { form.SetGridEnabled(enabled); });
}

void UpdateBridge::SetProgress(int position) {
    Post([position](TForm1& form) { form.SetProgress(position); });
}

void UpdateBridge::ReadAll() {
    Post([](TForm1& form) { form.ReadAll(); });
}

void UpdateBridge::UpdateFailed(const std::string& message) {
    Post([this, message](TForm1& form) {
        QPointer<TForm1> alive(&form);
        form.ShowMessageText(message);
        // The message box ran an event loop of its own: look again.
        if (cancelled_ || !alive)
            return;
        // The chart on disk is intact, so the grid is as it was before.
        alive->SetGridEnabled(gridEnabledBefore_);
        alive->SetProgress(0);
    });
}

void UpdateBridge::UpdateFinished() {
    Post([this](TForm1&) { Finished(); });
}

void UpdateBridge::Finished() {
    // The worker has made its last port call; the holder releases it at the
    // next start or when this object goes.
    running_ = false;
    if (form_)
        form_->SetUpdateCommandsEnabled(true);
}

}  // namespace vantrel::ui
