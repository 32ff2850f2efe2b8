// SIGINT, SIGTERM and SIGHUP caught while `sign` works.
#include "publisher/stop_signals.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace publisher {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t caught = 0;

void Catch(int signal) { caught = signal; }

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) sigaddset(&set, signal);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    caught = 0;
    struct sigaction action {};
    action.sa_handler = Catch;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a read or a wait returns EINTR
    for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &action, &before_[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &before_[i], nullptr);
}

int StopSignals::Caught() const { return caught; }

void StopSignals::EndAsAsked() const {
    const int signal = caught ? caught : SIGTERM;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    const sigset_t set = StopSet();
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

bool StopSignals::WaitToRead(int fd) const {
    // The signals held back from the check to the wait, which lets them in.
    const Held held;
    for (;;) {
        if (caught) return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::ppoll(&ready, 1, nullptr, &held.before_);
        if (polled > 0) return true;
        if (polled < 0 && errno != EINTR) return true;  // the read says what is wrong
    }
}

StopSignals::Held::Held() {
    const sigset_t set = StopSet();
    ::sigprocmask(SIG_BLOCK, &set, &before_);
}

StopSignals::Held::~Held() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }

}  // namespace publisher
