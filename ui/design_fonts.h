#pragma once
// The fonts the window design names, mapped to installed faces: "Arial" to
// Liberation Sans (metric-compatible), "MS Sans Serif" to the plain sans face.
#include <QFont>

namespace vantrel::ui {

QFont ArialFont(int pixelSize, bool bold = false);
QFont MsSansSerifFont(int pixelSize);

}  // namespace vantrel::ui
