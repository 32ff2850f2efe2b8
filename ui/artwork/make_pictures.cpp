// Draws, at build time with the program's own artwork code, the fixed pictures
// the program compiles in and the desktop's icon files.
// Usage: vantrel_make_pictures PICTURE_DIR ICON_DIR ICON_SIZE...
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "ui/artwork/artwork.h"
#include "ui/artwork/fixed_pictures.h"
#include "ui/artwork/raw_picture.h"

namespace {

bool Failed(const QString& path) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

bool SaveRaw(const QImage& image, const QString& path) {
    QFile file(path);
    const QByteArray bytes = vantrel::ui::RawPictureBytes(image);
    if (!bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    return Failed(path);
}

bool SavePng(const QImage& image, const QString& path) {
    return image.save(path, "PNG") || Failed(path);
}

bool SaveSvgIcon(const QString& path) {
    constexpr int kSize = 48;  // the icon's design grid
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kSize, kSize));
    svg.setViewBox(QRect(0, 0, kSize, kSize));
    svg.setTitle(QStringLiteral("Vantrel"));
    QPainter painter;
    if (!painter.begin(&svg)) return Failed(path);
    vantrel::ui::PaintApplicationIcon(painter, kSize);
    return painter.end() || Failed(path);
}

// The compiled-in pictures, as bare pixels.
bool MakeFixedPictures(const QString& directory) {
    using namespace vantrel::ui;
    std::set<int> iconPixels;
    for (int ratio : kBuiltRatios) {
        for (FixedPicture picture : kFixedPictures) {
            if (!SaveRaw(DrawnPicture(picture, ratio), directory + BuiltPictureFileName(picture, ratio)))
                return false;
        }
        for (int size : kWindowIconSizes) iconPixels.insert(size * ratio);
    }
    for (int pixels : iconPixels) {
        if (!SaveRaw(ApplicationIconPicture(pixels), directory + BuiltIconFileName(pixels))) return false;
    }
    return true;
}

// The desktop's icon files, installed by app/.
bool MakeIconFiles(const QString& directory, char** sizes, int count) {
    for (int i = 0; i < count; ++i) {
        const int size = std::atoi(sizes[i]);
        if (!SavePng(vantrel::ui::ApplicationIconPicture(size), directory + QStringLiteral("vantrel-%1.png").arg(size)))
            return false;
    }
    return SaveSvgIcon(directory + QStringLiteral("vantrel.svg"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PICTURE_DIR ICON_DIR ICON_SIZE...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString pictures = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QString icons = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    return MakeFixedPictures(pictures) && MakeIconFiles(icons, argv + 3, argc - 3) ? 0 : 1;
}
