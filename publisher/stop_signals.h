#pragma once
// The signals that end a command from the outside (SIGINT, SIGTERM, SIGHUP),
// caught while `sign` works instead of ending it at once.
#include <csignal>

namespace publisher {

class StopSignals {
public:
    StopSignals();   // caught from here on
    ~StopSignals();  // as before
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal caught, or 0.
    int Caught() const;
    // Ends the process as the caught signal would have, once the command has
    // removed what it made and given the terminal back its echo.
    [[noreturn]] void EndAsAsked() const;
    // Waits until fd has something to read (or its other end closed): true;
    // or until a stop signal comes: false. A signal that comes just before
    // the wait still ends it.
    bool WaitToRead(int fd) const;

    // Holds the signals back while it lives (a few renames that belong
    // together); one that came meanwhile is caught when it ends.
    class Held {
    public:
        Held();
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        friend class StopSignals;
        sigset_t before_;
    };

private:
    struct sigaction before_[3];
};

}  // namespace publisher
