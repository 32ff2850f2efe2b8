#pragma once
// The fixed pictures as the program shows them: the copy the build drew for
// the screen's pixel ratio when there is one, drawn now otherwise.
#include <QIcon>
#include <QImage>

#include "ui/artwork/fixed_pictures.h"

namespace vantrel::ui {

// The compiled-in copy for this ratio, or a null image when the build drew none.
QImage BuiltPicture(FixedPicture picture, qreal ratio);
QImage PictureAt(FixedPicture picture, qreal ratio);
// The window icon at its logical sizes, also at ratio.
QIcon WindowIcon(qreal ratio);

}  // namespace vantrel::ui
