// pelorin-make-icons: writes the program's icon as PNG files for the desktop's
// icon theme, at build time: FOLDER/SIZExSIZE/apps/pelorin.png for each size.
#include "ui/Pictures.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pelorin-make-icons FOLDER SIZE...\n");
        return 2;
    }
    // Drawing needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString path = apps + QStringLiteral("/pelorin.png");
        if (size <= 0 || !QDir().mkpath(apps) || !pelorin::DrawIcon(size).save(path)) {
            std::fprintf(stderr, "pelorin-make-icons: %s: cannot write the icon\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
