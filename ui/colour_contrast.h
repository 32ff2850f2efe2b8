#pragma once
// How well one colour stands out from another, by the relative luminance of
// sRGB colours that accessibility guidelines define, and the colour nearest a
// wanted one that stands out enough.
#include <QColor>

namespace vantrel::ui {

// The least contrast of text against its background that guidelines ask for.
inline constexpr double kLeastTextContrast = 4.5;
// What a colour chosen for text aims at: antialiased stems are never drawn
// in the whole colour, and still reach the least.
inline constexpr double kChosenTextContrast = 5.0;

// The contrast ratio of two colours, from 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// wanted itself when it reaches `least` against background; otherwise wanted
// mixed with white (on a dark background) or black (on a light one), as
// little as reaches it. Any background has one of the two at 4.58 or more.
QColor ColourStandingOut(const QColor& wanted, const QColor& background, double least);

}  // namespace vantrel::ui
