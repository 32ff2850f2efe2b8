#include "ui/error_box.h"

#include <QMessageBox>

#include "ui/text/byte_text.h"

namespace vantrel::ui {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ShowErrorBox(QWidget* parent, std::string_view message) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle),
                    ToDisplayLines(DecodeChartText(ErrorBoxText(message))), QMessageBox::Ok, parent);
    box.setObjectName(QString::fromLatin1(kErrorBoxObjectName));
    box.exec();
}

}  // namespace vantrel::ui
