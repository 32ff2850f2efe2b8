#pragma once
// The program's pictures, drawn in code so that they scale with the publisher's
// host name and need no image files at run time.
#include <QIcon>
#include <QImage>
#include <QString>

class QPainter;

namespace vantrel::ui {

// Each is drawn for a device pixel ratio (the screen's), so that a scaled
// screen gets a sharp picture of the same logical size, not a blown-up 1x one.
// Image2: 762 by 54, the grey-yellow-grey gradient with the "powered by" mark
// in the top-right corner.
QImage BannerPicture(const QString& publisherHost, qreal ratio = 1.0);
// Image1: 239 by 55, transparent, the seven column headings rising to the right.
QImage HeadingsPicture(qreal ratio = 1.0);
// The Update button's 16 by 16 green arrow.
QImage UpdateGlyph(qreal ratio = 1.0);
// The about box's 50 by 46 magnifying glass with a yellow star.
QImage MagnifierPicture(qreal ratio = 1.0);
// The application icon, square, any size in pixels; the desktop's icon files
// (PNGs, and an SVG through PaintApplicationIcon) are drawn by the build.
QImage ApplicationIconPicture(int size);
// Paints the icon into the square (0, 0, size, size) of painter's device.
void PaintApplicationIcon(QPainter& painter, double size);
// The window icon at 16, 32 and 48 logical pixels, also drawn at ratio.
QIcon ApplicationIcon(qreal ratio = 1.0);

}  // namespace vantrel::ui
