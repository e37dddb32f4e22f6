// The program: create the application, run the start-up procedure, then the event loop.
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The name the desktop shows, and the menu entry that the desktop links the windows to.
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral(ORVANE_APP_ID));
    if (!Main())
        return 1;
    return app.exec();
}
