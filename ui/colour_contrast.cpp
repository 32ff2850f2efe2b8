// The contrast between two colours, and the nearest colour that stands out enough.
#include "ui/colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace vantrel::ui {
namespace {

double Luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

QColor Mixed(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    const QColor a = from.toRgb(), b = to.toRgb();
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ColourStandingOut(const QColor& wanted, const QColor& background, double least) {
    if (ContrastRatio(wanted, background) >= least)
        return wanted;
    const QColor white(255, 255, 255), black(0, 0, 0);
    const QColor towards = ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
    // The contrast grows with the share mixed in: the least share that
    // reaches it, to a 256th.
    int low = 0, high = 256;
    while (low + 1 < high) {
        const int middle = (low + high) / 2;
        if (ContrastRatio(Mixed(wanted, towards, middle / 256.0), background) >= least)
            high = middle;
        else
            low = middle;
    }
    return Mixed(wanted, towards, high / 256.0);
}

}  // namespace vantrel::ui
