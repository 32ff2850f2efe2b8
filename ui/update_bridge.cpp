// The update worker's reports carried onto the user-interface thread, in order.
#include "ui/update_bridge.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

#include "ui/Unit1.h"

namespace vantrel::ui {
namespace {

// One report of the worker, as an event for the user-interface thread.
class ReportEvent : public QEvent {
public:
    static inline const Type kType = static_cast<Type>(registerEventType());
    explicit ReportEvent(std::function<void(TForm1&)> action) : QEvent(kType), action(std::move(action)) {}
    std::function<void(TForm1&)> action;
};

}  // namespace

UpdateBridge::UpdateBridge(TForm1& form, update::UpdateControl& updates) : form_(&form), updates_(updates) {
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
        updates_.Start(*this);
    } catch (...) {
        // No thread could be started (whatever the reason, passed on): the
        // commands come back at once.
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
    // Posted to this object as an event: carried out on its (the user-interface)
    // thread in the order posted, and dropped with its action if this object
    // goes first.
    QCoreApplication::postEvent(this, new ReportEvent(std::move(action)));
}

void UpdateBridge::customEvent(QEvent* event) {
    if (event->type() != ReportEvent::kType) {
        QObject::customEvent(event);
        return;
    }
    if (!cancelled_ && form_)
        static_cast<ReportEvent*>(event)->action(*form_);
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
