#include "ui/error_box.h"

#include "ui/ports/message_box.h"
#include "ui/text/display_text.h"

namespace vantrel::ui {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ShowErrorBox(QWidget* parent, std::string_view message) {
    // The message may carry chart text: shown as plain text, never as markup
    // with links to follow.
    MessageDialog box(DisplayLines(ErrorBoxText(message)), parent, QStyle::SP_MessageBoxCritical);
    box.setObjectName(QString::fromLatin1(kErrorBoxObjectName));
    box.exec();
}

}  // namespace vantrel::ui
