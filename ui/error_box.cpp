// The application's standard error box.
#include "ui/error_box.h"

#include "ui/ports/message_box.h"
#include "ui/text/display_text.h"

namespace vantrel::ui {

namespace {

// The full stop the error box adds: after a last byte that sorts after "."
// (bytes compared unsigned).
std::string_view FullStopFor(std::string_view message) {
    const bool needed =
        !message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.');
    return needed ? "." : "";
}

}  // namespace

std::string ErrorBoxText(std::string_view message) {
    return std::string(message) + std::string(FullStopFor(message));
}

void ShowErrorBox(QWidget* parent, std::string_view message) {
    // The message may carry chart text: shown as plain text, never as markup
    // with links to follow. It may be megabytes long, so it is not copied.
    MessageDialog box(DisplayLines(message, FullStopFor(message)), parent, QStyle::SP_MessageBoxCritical);
    box.setObjectName(QString::fromLatin1(kErrorBoxObjectName));
    box.exec();
}

}  // namespace vantrel::ui
