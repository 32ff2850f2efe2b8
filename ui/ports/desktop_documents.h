#pragma once
// The open-document operation: hands a web or "mailto:" address to the
// desktop's opener (xdg-open) as one argument, byte for byte, without waiting.
#include <QObject>
#include <QString>
#include <cstddef>

#include "chart/window_ports.h"

namespace vantrel::ui {

// Shown when the desktop could not open an address; the address follows on
// the next line.
inline constexpr const char* kCannotOpenMessage = "The desktop could not open this address:\r\n";

class DesktopDocumentPort : public chart::DocumentPort {
public:
    // The kernel's limit on one argument (MAX_ARG_STRLEN), its ending NUL included.
    static constexpr std::size_t kMaxArgumentBytes = 32 * 4096 - 1;

    // opener: the program given the address as its one argument.
    explicit DesktopDocumentPort(chart::MessagePort& messages,
                                 QString opener = QStringLiteral("xdg-open"));
    void OpenDocument(const std::string& address) override;
    // Openers started and not yet finished.
    int Running() const;

private:
    // The opener did not start, reported a failure, or the address is longer
    // than one argument may be: the user is told in one box naming it.
    void Failed(const std::string& address);

    chart::MessagePort& messages_;
    QString opener_;
    QObject openers_;  // parent of the running openers
};

}  // namespace vantrel::ui
