#include "shell/Paths.h"

#include <QCoreApplication>

namespace shell {

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

}  // namespace shell
