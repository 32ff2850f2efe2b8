// The fixed pictures the build drew, or drawn now for another pixel ratio.
#include "ui/artwork/built_pictures.h"

#include <QPixmap>
#include <QResource>
#include <QtMath>
#include <algorithm>

#include "ui/artwork/artwork.h"
#include "ui/artwork/raw_picture.h"

namespace vantrel::ui {
namespace {

const QString kResourceFolder = QStringLiteral(":/vantrel/pictures/");

bool IsBuiltRatio(qreal ratio) {
    return std::any_of(kBuiltRatios.begin(), kBuiltRatios.end(),
                       [ratio](int built) { return ratio == built; });
}

// The pixels stay in the executable: stored uncompressed, they are read
// where they lie.
QImage CompiledIn(const QString& fileName) {
    const QResource resource(kResourceFolder + fileName);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) return {};
    return RawPictureView(resource.data(), resource.size());
}

}  // namespace

QImage BuiltPicture(FixedPicture picture, qreal ratio) {
    if (!IsBuiltRatio(ratio)) return {};
    QImage image = CompiledIn(BuiltPictureFileName(picture, static_cast<int>(ratio)));
    if (!image.isNull()) image.setDevicePixelRatio(ratio);
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
            const QImage image = CompiledIn(BuiltIconFileName(pixels));
            if (image.isNull()) return ApplicationIcon(ratio);
            icon.addPixmap(QPixmap::fromImage(image));
            if (ratio == 1.0) break;
        }
    }
    return icon;
}

}  // namespace vantrel::ui
