#include "app/Startup.h"

#include <QCoreApplication>

namespace {
QString g_programDirectory;
}

void setProgramDirectory(const QString& directory) { g_programDirectory = directory; }

QString programDirectory()
{
    return g_programDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : g_programDirectory;
}

bool Main() { return false; }
