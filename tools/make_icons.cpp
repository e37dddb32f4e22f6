// make_icons OUTPUT_FOLDER: writes the program's icon for the desktop's icon theme: the SVG as
// OUTPUT_FOLDER/scalable/apps/NAME.svg and PNGs as OUTPUT_FOLDER/SIZExSIZE/apps/NAME.png,
// drawn from the same geometry as the windows' icon. NAME is the second argument.
#include "shell/ProgramIcon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_FOLDER NAME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) || !shell::ringsImage(size).save(folder + '/' + name + ".png")) {
            std::fprintf(stderr, "make_icons: cannot write the %dx%d icon in %s\n", size, size,
                         qPrintable(folder));
            return 1;
        }
    }
    const QString scalable = out + QStringLiteral("/scalable/apps");
    QFile svg(scalable + '/' + name + ".svg");
    if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly) || svg.write(shell::ringsSvg()) < 0) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
