#pragma once
// The fonts the window design names, asked for by installed families only:
// "Arial" and "MS Sans Serif" when the machine has them, otherwise Liberation
// Sans, so that no font costs a fallback search.
#include <QFont>
#include <QString>

namespace vantrel::ui {

QFont ArialFont(int pixelSize, bool bold = false);
QFont MsSansSerifFont(int pixelSize);

// The installed family that stands for designFamily: itself when installed,
// otherwise Liberation Sans (metric-compatible with Arial, widths close to the
// design's for the other). Decided from the font database's list of
// families (no matching), once per family the caller keeps.
QString InstalledFamily(const QString& designFamily);

}  // namespace vantrel::ui
