// SIGTERM, SIGHUP and SIGINT turned into a request on the user-interface thread, through a socket pair.
#include "ui/termination_requests.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace vantrel::ui {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler may only do async-signal-safe things: it writes one byte to a
// socket that the event loop watches.
int signalSocket[2] = {-1, -1};

void OnSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(signalSocket[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationRequests::TerminationRequests(QObject* parent) : QObject(parent) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0)
        return;  // the signals keep their default action
    notifier_ = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationRequests::Receive);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) sigaction(number, &action, nullptr);
}

TerminationRequests::~TerminationRequests() {
    if (!notifier_) return;
    for (int number : kSignals) signal(number, SIG_DFL);
    delete notifier_;
    close(signalSocket[0]);
    close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
}

void TerminationRequests::Receive() {
    char bytes[16];
    while (read(signalSocket[1], bytes, sizeof bytes) > 0) {
    }
    requested_ = true;
    emit requested();
}

}  // namespace vantrel::ui
