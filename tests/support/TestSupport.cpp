#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace testsupport {

QString deliveredDatabase()
{
    return QStringLiteral(ORVANE_DELIVERED_DB);
}
QString sourceDir()
{
    return QStringLiteral(ORVANE_SOURCE_DIR);
}
QString binDir()
{
    return QStringLiteral(ORVANE_BIN_DIR);
}
QString poorSolverDir()
{
    return QStringLiteral(ORVANE_POOR_SOLVER_DIR);
}

QString testDataDir(const QString& name)
{
    const QString dir = sourceDir() + QStringLiteral("/tests/data/") + name;
    if (!QFileInfo(dir).isDir())
        throw std::runtime_error("the test data folder " + dir.toStdString() + " is missing");
    return QDir(dir).canonicalPath();
}

QString sampleWeddingDir()
{
    return testDataDir(QStringLiteral("sample-wedding"));
}

ProgramDir::ProgramDir(bool withDataFiles)
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary directory");
    if (!QFile::copy(deliveredDatabase(), databasePath()))
        throw std::runtime_error("cannot copy the delivered database; was it built?");
    QFile(databasePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    if (withDataFiles) {
        QDirIterator it(binDir(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString rel = QDir(binDir()).relativeFilePath(src);
            if (rel == "wedding.mdb" || QFileInfo(src).isExecutable())
                continue;
            QDir().mkpath(QFileInfo(file(rel)).path());
            QFile::copy(src, file(rel));
        }
    }
}

QString ProgramDir::path() const
{
    return dir_.path();
}
QString ProgramDir::databasePath() const
{
    return file("wedding.mdb");
}
QString ProgramDir::file(const QString& name) const
{
    return dir_.path() + "/" + name;
}

}  // namespace testsupport
