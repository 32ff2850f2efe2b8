#pragma once
// The pictures whose content never changes once the program is built. The
// build draws them at the common pixel ratios and compiles them in as bare
// pixels, so that a start on such a screen neither draws nor decodes them.
#include <QImage>
#include <QString>
#include <array>

namespace vantrel::ui {

enum class FixedPicture { kBanner, kHeadings, kUpdateGlyph, kMagnifier };

inline constexpr std::array kFixedPictures = {FixedPicture::kBanner, FixedPicture::kHeadings,
                                              FixedPicture::kUpdateGlyph, FixedPicture::kMagnifier};
// The pixel ratios the build draws for (plain and doubled screens).
inline constexpr std::array<int, 2> kBuiltRatios = {1, 2};
// The window icon's logical sizes.
inline constexpr std::array<int, 3> kWindowIconSizes = {16, 32, 48};

// The picture drawn now, by the artwork code.
QImage DrawnPicture(FixedPicture picture, qreal ratio);
// Its file name as the build writes it for a whole ratio ("banner@2x.pixels").
QString BuiltPictureFileName(FixedPicture picture, int ratio);
// The window icon's file name for a size in pixels ("icon-96.pixels").
QString BuiltIconFileName(int pixels);

}  // namespace vantrel::ui
