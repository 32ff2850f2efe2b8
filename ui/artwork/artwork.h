#pragma once
// The program's pictures, drawn in code so they scale with the publisher's
// host name and need no image files at run time.
#include <QIcon>
#include <QImage>
#include <QString>

namespace vantrel::ui {

// Image2: 762 by 54, the grey-yellow-grey gradient with the "powered by" mark
// in the top-right corner.
QImage BannerPicture(const QString& publisherHost);
// Image1: 239 by 55, transparent, the seven column headings rising to the right.
QImage HeadingsPicture();
// The Update button's 16 by 16 green arrow.
QImage UpdateGlyph();
// The about box's 50 by 46 magnifying glass with a yellow star.
QImage MagnifierPicture();
// The application icon, square, any size (16, 32 and 48 are used).
QImage ApplicationIconPicture(int size);
QIcon ApplicationIcon();

}  // namespace vantrel::ui
