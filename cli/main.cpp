// orvane-cli: imports a guest list into a wedding file, exports its lists and writes its
// calendar, with the same code the program's windows use. `orvane-cli --help` for usage.
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const int status = cli::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
