#include "ui/artwork/built_pictures.h"

#include <QtMath>
#include <algorithm>

#include "ui/artwork/artwork.h"

namespace vantrel::ui {
namespace {

const QString kResourceFolder = QStringLiteral(":/vantrel/pictures/");

bool IsBuiltRatio(qreal ratio) {
    return std::any_of(kBuiltRatios.begin(), kBuiltRatios.end(),
                       [ratio](int built) { return ratio == built; });
}

}  // namespace

QImage BuiltPicture(FixedPicture picture, qreal ratio) {
    if (!IsBuiltRatio(ratio)) return {};
    QImage image(kResourceFolder + BuiltPictureFileName(picture, static_cast<int>(ratio)));
    if (image.isNull()) return {};
    // The same format as drawn: a PNG comes back unpremultiplied, and the
    // round trip gives the drawn pixels back exactly.
    const QImage::Format drawn = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32;
    if (image.format() != drawn) image.convertTo(drawn);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage PictureAt(FixedPicture picture, qreal ratio) {
    QImage built = BuiltPicture(picture, ratio);
    return built.isNull() ? DrawnPicture(picture, ratio) : built;
}

QIcon WindowIcon(qreal ratio) {
    if (!IsBuiltRatio(ratio)) return ApplicationIcon(ratio);
    QIcon icon;
    for (int size : kWindowIconSizes) {
        for (int pixels : {size, qCeil(size * ratio)}) {
            icon.addFile(kResourceFolder + BuiltIconFileName(pixels), QSize(pixels, pixels));
            if (ratio == 1.0) break;
        }
    }
    return icon;
}

}  // namespace vantrel::ui
