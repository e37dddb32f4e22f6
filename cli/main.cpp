// orvane-cli: works on a wedding file from the command line with the same code the
// program's windows use. `orvane-cli --help` for usage.
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // Cards are laid out with measured fonts, which need Qt's GUI side; a command line has no
    // screen to show anything on, so that runs on the offscreen platform unless one is named.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "place-cards") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout), err(stderr);
    const int status = cli::run(app->arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
