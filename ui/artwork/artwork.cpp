// The program's pictures drawn in code: banner, headings, glyph, magnifier and icon.
#include "ui/artwork/artwork.h"

#include "ui/design_fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QtMath>
#include <cmath>
#include <cstring>

namespace vantrel::ui {
namespace {

QFont PictureFont(double pixelSize, bool bold) {
    QFont font;
    // An installed family only, so drawing the pictures costs no font fallback search.
    static const QString family = InstalledFamily(QStringLiteral("Arial"));
    font.setFamily(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(bold);
    return font;
}

int Blend(int from, int to, double t) {
    return static_cast<int>(std::lround(from + (to - from) * t));
}

// An empty picture of the given logical size holding ratio times as many
// pixels; a painter on it draws in logical coordinates.
QImage Canvas(int width, int height, qreal ratio, QImage::Format format) {
    QImage image(qCeil(width * ratio), qCeil(height * ratio), format);
    image.setDevicePixelRatio(ratio);
    if (image.hasAlphaChannel()) image.fill(Qt::transparent);
    return image;
}

// x is in logical pixels; whole x gives the designed columns exactly.
QColor BannerColumnColour(double x) {
    const QColor left(157, 156, 158), peak(229, 225, 164), right(156, 156, 158);
    constexpr int kPeakX = 350, kRightX = 710;
    const QColor& from = x <= kPeakX ? left : peak;
    const QColor& to = x <= kPeakX ? peak : right;
    const double t = x <= kPeakX ? x / kPeakX
                                 : std::min(1.0, double(x - kPeakX) / (kRightX - kPeakX));
    return QColor(Blend(from.red(), to.red(), t), Blend(from.green(), to.green(), t),
                  Blend(from.blue(), to.blue(), t));
}

// Draws text centred in box, squeezed horizontally when it is wider.
void DrawFitted(QPainter& painter, const QRectF& box, const QString& text) {
    const QFontMetricsF metrics(painter.font());
    const double width = metrics.horizontalAdvance(text);
    const double scale = width > box.width() ? box.width() / width : 1.0;
    painter.save();
    painter.translate(box.center().x(), box.top());
    painter.scale(scale, 1.0);
    painter.drawText(QRectF(-width / 2, 0, width, box.height()), Qt::AlignCenter, text);
    painter.restore();
}

QPolygonF Star(QPointF centre, double outer, double inner) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    }
    return star;
}

// The magnifying glass with its star, in a 50 by 46 frame.
void DrawMagnifier(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    // Handle first, so the rim covers its end.
    painter.setPen(QPen(QColor(70, 50, 30), 7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(31, 30), QPointF(45, 42));
    painter.setPen(QPen(QColor(120, 90, 55), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(33, 31), QPointF(44, 41));
    // Lens and rim.
    painter.setPen(QPen(QColor(80, 80, 90), 4));
    painter.setBrush(QColor(200, 225, 245, 210));
    painter.drawEllipse(QPointF(20, 19), 15, 15);
    // The star over the lens.
    painter.setPen(QPen(QColor(170, 120, 0), 1));
    painter.setBrush(QColor(255, 214, 0));
    painter.drawPolygon(Star(QPointF(20, 20), 10.5, 4.5));
}

}  // namespace

QImage BannerPicture(const QString& publisherHost, qreal ratio) {
    QImage image = Canvas(762, 54, ratio, QImage::Format_RGB32);
    // The gradient is constant down each column: one row of colours, copied
    // into every row.
    auto* firstRow = reinterpret_cast<QRgb*>(image.scanLine(0));
    for (int x = 0; x < image.width(); ++x)
        firstRow[x] = BannerColumnColour(x / ratio).rgb();
    for (int y = 1; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), firstRow, image.bytesPerLine());
    QPainter painter(&image);
    // The mark: two lines of dark capitals in x 640-759, y 2-17.
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(48, 48, 52));
    painter.setFont(PictureFont(7, true));
    DrawFitted(painter, QRectF(640, 2, 119, 8), QStringLiteral("POWERED BY"));
    DrawFitted(painter, QRectF(640, 10, 119, 8), publisherHost.toUpper());
    return image;
}

QImage HeadingsPicture(qreal ratio) {
    static const char* const kHeadings[] = {
        "OS support", "Demo version", "Interception", "Log viewing",
        "Security", "Network options", "Total",
    };
    constexpr int kFirstColumnX = 3;  // the grid's frame and the name column's line
    constexpr int kColumnStep = 26;   // 25 pixels and the grid line
    QImage image = Canvas(239, 55, ratio, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double bottom = 55;
    // Separators: one at each column border, rising at 45 degrees.
    painter.setPen(QPen(QColor(150, 150, 154), 1));
    for (int i = 0; i <= 7; ++i) {
        const double x = kFirstColumnX + i * kColumnStep - 0.5;
        painter.drawLine(QPointF(x, bottom), QPointF(x + bottom, 0));
    }
    // Headings: each starts above its column, between its two separators.
    painter.setPen(QColor(64, 64, 64));
    painter.setFont(PictureFont(9, false));
    for (int i = 0; i < 7; ++i) {
        const double x = kFirstColumnX + i * kColumnStep;
        painter.save();
        painter.translate(x + 17, bottom - 3);
        painter.rotate(-45);
        painter.drawText(QPointF(0, 0), QString::fromLatin1(kHeadings[i]));
        painter.restore();
    }
    return image;
}

QImage UpdateGlyph(qreal ratio) {
    QImage image = Canvas(16, 16, ratio, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPolygonF arrow({{6, 1}, {10, 1}, {10, 8}, {14, 8}, {8, 15}, {2, 8}, {6, 8}});
    painter.setPen(QPen(QColor(0, 100, 0), 1));
    painter.setBrush(QColor(40, 180, 40));
    painter.drawPolygon(arrow);
    return image;
}

QImage MagnifierPicture(qreal ratio) {
    QImage image = Canvas(50, 46, ratio, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    DrawMagnifier(painter);
    return image;
}

QImage ApplicationIconPicture(int size) {
    QImage image = Canvas(size, size, 1.0, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    PaintApplicationIcon(painter, size);
    return image;
}

void PaintApplicationIcon(QPainter& painter, double size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    // A chart sheet in the banner's colours...
    painter.setPen(QPen(QColor(110, 110, 115), 2));
    painter.setBrush(QColor(229, 225, 164));
    painter.drawRoundedRect(QRectF(2, 2, 40, 40), 4, 4);
    painter.setPen(QPen(QColor(140, 140, 145), 2));
    for (int y = 14; y < 40; y += 9)
        painter.drawLine(QPointF(4, y), QPointF(40, y));
    painter.drawLine(QPointF(16, 4), QPointF(16, 40));
    // ...under the magnifying glass.
    painter.translate(4, 6);
    painter.scale(0.9, 0.9);
    DrawMagnifier(painter);
}

QIcon ApplicationIcon(qreal ratio) {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(QPixmap::fromImage(ApplicationIconPicture(size)));
        if (ratio != 1.0)
            icon.addPixmap(QPixmap::fromImage(ApplicationIconPicture(qCeil(size * ratio))));
    }
    return icon;
}

}  // namespace vantrel::ui
