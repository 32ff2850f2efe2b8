// Writes the application icon as vantrel-16.png, vantrel-32.png and
// vantrel-48.png into the given directory (ui/artwork/ in the repository).
// Usage: vantrel_make_icons DIR
#include <QGuiApplication>
#include <QString>
#include <cstdio>

#include "ui/artwork/artwork.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString directory = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 32, 48}) {
        const QString path = directory + QStringLiteral("/vantrel-%1.png").arg(size);
        if (!vantrel::ui::ApplicationIconPicture(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
