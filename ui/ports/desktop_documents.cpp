#include "ui/ports/desktop_documents.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

namespace vantrel::ui {

void DesktopDocumentPort::OpenDocument(const std::string& address) {
    // The result is not examined, as the desktop's own handler reports failures.
    QDesktopServices::openUrl(
        QUrl::fromEncoded(QByteArray(address.data(), static_cast<qsizetype>(address.size()))));
}

}  // namespace vantrel::ui
