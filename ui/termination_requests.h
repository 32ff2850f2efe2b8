#pragma once
// The session asking the program to end (SIGTERM at logout, SIGHUP, SIGINT),
// turned into an ordinary request on the user-interface thread.
#include <QObject>

class QSocketNotifier;

namespace vantrel::ui {

class TerminationRequests : public QObject {
    Q_OBJECT
public:
    // Installs the signal handlers; one instance at a time.
    explicit TerminationRequests(QObject* parent = nullptr);
    // Puts the default handlers back.
    ~TerminationRequests() override;

    bool Requested() const { return requested_; }

signals:
    // Emitted on the user-interface thread, once per signal received, so that
    // the program ends as File/Exit ends it (an update stopped and cleaned up,
    // exit status 0) instead of dying in the middle of a write.
    void requested();

private:
    void Receive();

    QSocketNotifier* notifier_ = nullptr;
    bool requested_ = false;
};

}  // namespace vantrel::ui
