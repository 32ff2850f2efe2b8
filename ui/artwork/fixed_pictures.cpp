// The pictures whose content never changes once the program is built, drawn at each built ratio.
#include "ui/artwork/fixed_pictures.h"

#include "ui/artwork/artwork.h"
#include "chart/publisher_values.h"

namespace vantrel::ui {
namespace {

QString BaseName(FixedPicture picture) {
    switch (picture) {
    case FixedPicture::kBanner: return QStringLiteral("banner");
    case FixedPicture::kHeadings: return QStringLiteral("headings");
    case FixedPicture::kUpdateGlyph: return QStringLiteral("update-glyph");
    case FixedPicture::kMagnifier: return QStringLiteral("magnifier");
    }
    return {};
}

}  // namespace

QImage DrawnPicture(FixedPicture picture, qreal ratio) {
    switch (picture) {
    case FixedPicture::kBanner: return BannerPicture(QString::fromLatin1(chart::kPublisherHost), ratio);
    case FixedPicture::kHeadings: return HeadingsPicture(ratio);
    case FixedPicture::kUpdateGlyph: return UpdateGlyph(ratio);
    case FixedPicture::kMagnifier: return MagnifierPicture(ratio);
    }
    return {};
}

QString BuiltPictureFileName(FixedPicture picture, int ratio) {
    return ratio == 1 ? BaseName(picture) + QStringLiteral(".pixels")
                      : BaseName(picture) + QStringLiteral("@%1x.pixels").arg(ratio);
}

QString BuiltIconFileName(int pixels) { return QStringLiteral("icon-%1.pixels").arg(pixels); }

}  // namespace vantrel::ui
