#pragma once
// The fonts the window design names, mapped to installed faces: "Arial" to
// Liberation Sans (metric-compatible), "MS Sans Serif" to
// the same plain sans face, whose widths are close to the design's.
#include <QFont>

namespace vantrel::ui {

QFont ArialFont(int pixelSize, bool bold = false);
QFont MsSansSerifFont(int pixelSize);

}  // namespace vantrel::ui
