#include "app/Program.h"

#include "app/Startup.h"

#include <QCoreApplication>

namespace app {

Program& program()
{
    static Program values;
    return values;
}

}  // namespace app

namespace {
QString g_programDirectory;
}

void setProgramDirectory(const QString& directory)
{
    g_programDirectory = directory;
}

QString programDirectory()
{
    return g_programDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : g_programDirectory;
}
