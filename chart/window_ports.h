#pragma once
// What the chart core needs from the window. The desktop program implements
// them with Qt; tests implement them with a recorder.
#include <string>

namespace chart {

// Shows a text in a modal message box captioned with the application title and
// returns when the user has dismissed it.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

// Hands an address (a web page or a "mailto:" address) to the desktop, which
// opens it in the user's default program. Does not wait for that program.
class DocumentPort {
public:
    virtual ~DocumentPort() = default;
    virtual void OpenDocument(const std::string& address) = 0;
};

// The details panel beside the grid. Lines are separated by CR LF.
class DetailsPanel {
public:
    virtual ~DetailsPanel() = default;
    virtual void Clear() = 0;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

// Lets the window go on answering while the user-interface thread waits for
// the chart folder (another copy putting its chart in place): called between
// the wait's short polls. False once the program is ending (the session asked
// it to, or File/Exit): the wait stops and nothing more is read.
class WaitPort {
public:
    virtual ~WaitPort() = default;
    virtual bool KeepWaiting() = 0;
};

}  // namespace chart
