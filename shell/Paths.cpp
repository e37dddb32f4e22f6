#include "shell/Paths.h"

#include "store/StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifndef ORVANE_DATA_FROM_PROGRAM
#define ORVANE_DATA_FROM_PROGRAM "../share/orvane"
#endif
#ifndef ORVANE_MODULES_FROM_PROGRAM
#define ORVANE_MODULES_FROM_PROGRAM "../lib/orvane"
#endif

namespace shell {

namespace {

QString g_programDirectory;
QString g_moduleDirectory;

const QString WeddingFileName = QStringLiteral("wedding.mdb");

QString cleanJoin(const QString& directory, const QString& relative)
{
    return QDir::cleanPath(directory + QLatin1Char('/') + relative);
}

// Writable as the store judges it: the write bits decide, even for root.
bool isWritableFile(const QString& path)
{
    const QFileInfo info(path);
    constexpr auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isFile() && info.isWritable() && (info.permissions() & writeBits);
}

QString portableWeddingFile()
{
    return programDirectory() + QLatin1Char('/') + WeddingFileName;
}

QString deliveredWeddingFile()
{
    return installedDataDirectory() + QLatin1Char('/') + WeddingFileName;
}

// A module in the installed module folder when it lies there, else beside the program.
QString moduleOfProgram(const QString& name)
{
    const QString here = QCoreApplication::applicationDirPath();
    const QString installed = cleanJoin(here, QStringLiteral(ORVANE_MODULES_FROM_PROGRAM "/") + name);
    return QFileInfo::exists(installed + QStringLiteral(".so")) ? installed : here + QLatin1Char('/') + name;
}

[[noreturn]] void failCopy(const QString& target, const QString& reason)
{
    throw store::StoreError(
        store::err::IoError,
        QStringLiteral("The wedding file '%1' could not be made: %2.").arg(target, reason));
}

}  // namespace

void setProgramDirectory(const QString& directory)
{
    g_programDirectory = directory;
}

QString programDirectory()
{
    return g_programDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : g_programDirectory;
}

Layout layout()
{
    if (isWritableFile(portableWeddingFile()))
        return Layout::Portable;
    return QFileInfo(deliveredWeddingFile()).isFile() ? Layout::Installed : Layout::Portable;
}

QString installedDataDirectory()
{
    return cleanJoin(programDirectory(), QStringLiteral(ORVANE_DATA_FROM_PROGRAM));
}

QString userDataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Orvane");
}

QString dataDirectory()
{
    return layout() == Layout::Installed ? userDataDirectory() : programDirectory();
}

QString weddingFilePath()
{
    return dataDirectory() + QLatin1Char('/') + WeddingFileName;
}

QString compactTempPath()
{
    return dataDirectory() + QStringLiteral("/tempovdb.mdb");
}

QString resourceDirectory()
{
    return layout() == Layout::Installed ? installedDataDirectory() : programDirectory();
}

QString helpFilePath()
{
    return resourceDirectory() + QStringLiteral("/Orvane.HLP");
}

QString templatePath(const QString& templateName)
{
    return QDir(resourceDirectory()).filePath(templateName);
}

void setModuleDirectory(const QString& directory)
{
    g_moduleDirectory = directory;
}

QString modulePath(const QString& name)
{
    return g_moduleDirectory.isEmpty() ? moduleOfProgram(name) : g_moduleDirectory + QLatin1Char('/') + name;
}

QString audioModulePath()
{
    // Always the running program's own: test programs, which lie elsewhere, stay silent.
    return moduleOfProgram(QStringLiteral("orvane_audio"));
}

void prepareWeddingFile()
{
    if (layout() != Layout::Installed)
        return;
    const QString target = weddingFilePath();
    if (QFileInfo::exists(target))
        return;
    if (!QDir().mkpath(userDataDirectory()))
        failCopy(target, QStringLiteral("the folder '%1' cannot be created").arg(userDataDirectory()));
    QFile delivered(deliveredWeddingFile());
    if (!delivered.open(QIODevice::ReadOnly))
        failCopy(target, delivered.errorString());
    const QByteArray content = delivered.readAll();
    if (delivered.error() != QFileDevice::NoError)
        failCopy(target, delivered.errorString());
    // The delivered file is read-only where it is installed; the user's copy must be writable.
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(content) != content.size() ||
        !copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || !copy.commit())
        failCopy(target, copy.errorString());
}

}  // namespace shell
