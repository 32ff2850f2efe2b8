// The design's fonts, or Liberation Sans where they are not installed.
#include "ui/design_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vantrel::ui {
namespace {

// What scripts/setup.sh installs (fonts-liberation).
const QString kReplacementFamily = QStringLiteral("Liberation Sans");

QFont DesignFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QString InstalledFamily(const QString& designFamily) {
    return QFontDatabase::families().contains(designFamily, Qt::CaseInsensitive)
               ? designFamily
               : kReplacementFamily;
}

QFont ArialFont(int pixelSize, bool bold) {
    static const QString family = InstalledFamily(QStringLiteral("Arial"));
    return DesignFont(family, pixelSize, bold);
}

QFont MsSansSerifFont(int pixelSize) {
    static const QString family = InstalledFamily(QStringLiteral("MS Sans Serif"));
    return DesignFont(family, pixelSize, false);
}

}  // namespace vantrel::ui
