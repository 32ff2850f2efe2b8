// Chart text cut to what the compare window's views lay out.
#include "ui/compare/view_text.h"

namespace vantrel::ui {

QString ViewText(std::string_view shown) {
    QString text = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    if (text.size() <= kViewTextLimit) return text;
    qsizetype cut = kViewTextLimit;
    if (text.at(cut - 1).isHighSurrogate()) --cut;  // never half a character
    text.truncate(cut);
    return text + QChar(0x2026);
}

}  // namespace vantrel::ui
