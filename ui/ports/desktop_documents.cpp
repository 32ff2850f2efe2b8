// An address handed to xdg-open, or the user told why not.
#include "ui/ports/desktop_documents.h"

#include <QProcess>

namespace vantrel::ui {

DesktopDocumentPort::DesktopDocumentPort(chart::MessagePort& messages, QString opener)
    : messages_(messages), opener_(std::move(opener)) {}

int DesktopDocumentPort::Running() const {
    return static_cast<int>(openers_.findChildren<QProcess*>(Qt::FindDirectChildrenOnly).size());
}

void DesktopDocumentPort::Failed(const std::string& address) {
    messages_.ShowMessage(kCannotOpenMessage + address);
}

void DesktopDocumentPort::OpenDocument(const std::string& address) {
    if (address.size() > kMaxArgumentBytes) {
        Failed(address);
        return;
    }
    auto* process = new QProcess(&openers_);
    process->setProgram(opener_);
    // The addresses handed over are ASCII (a web address's other bytes are
    // escaped before it gets here), so Latin-1 gives back the same bytes.
    process->setArguments({QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size()))});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::errorOccurred, process, [this, process, address](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        process->setParent(nullptr);
        Failed(address);
    });
    QObject::connect(process, &QProcess::finished, process,
                     [this, process, address](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         process->setParent(nullptr);
                         if (status != QProcess::NormalExit || exitCode != 0)
                             Failed(address);
                     });
    process->start();
}

}  // namespace vantrel::ui
