// Draws the fixed pictures the program compiles in, at build time, with the
// program's own artwork code: each picture at each built ratio, and the window
// icon at each size it is shown at on those ratios.
// Usage: vantrel_make_pictures DIR
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <set>

#include "ui/artwork/artwork.h"
#include "ui/artwork/fixed_pictures.h"
#include "ui/artwork/raw_picture.h"

namespace {

bool Save(const QImage& image, const QString& path) {
    QFile file(path);
    const QByteArray bytes = vantrel::ui::RawPictureBytes(image);
    if (!bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrel::ui;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString directory = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    std::set<int> iconPixels;
    for (int ratio : kBuiltRatios) {
        for (FixedPicture picture : kFixedPictures) {
            if (!Save(DrawnPicture(picture, ratio), directory + BuiltPictureFileName(picture, ratio)))
                return 1;
        }
        for (int size : kWindowIconSizes) iconPixels.insert(size * ratio);
    }
    for (int pixels : iconPixels) {
        if (!Save(ApplicationIconPicture(pixels), directory + BuiltIconFileName(pixels))) return 1;
    }
    return 0;
}
