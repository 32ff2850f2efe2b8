// Draws the application icon into the desktop's icon files, at build time:
// vantrel-N.png for each of the icon sizes, and the scalable vantrel.svg.
// Usage: vantrel_make_icons DIR SIZE...
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>

#include "ui/artwork/artwork.h"

namespace {

bool WriteSvg(const QString& path) {
    constexpr int kSize = 48;  // the icon's design grid
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kSize, kSize));
    svg.setViewBox(QRect(0, 0, kSize, kSize));
    svg.setTitle(QStringLiteral("Vantrel"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    vantrel::ui::PaintApplicationIcon(painter, kSize);
    return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIR SIZE...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString directory = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = directory + QStringLiteral("/vantrel-%1.png").arg(size);
        if (!vantrel::ui::ApplicationIconPicture(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString svgPath = directory + QStringLiteral("/vantrel.svg");
    if (!WriteSvg(svgPath)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
        return 1;
    }
    return 0;
}
