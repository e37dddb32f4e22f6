// The program: create the application, run the start-up procedure, then the event loop.
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!Main())
        return 1;
    return app.exec();
}
