#include "store/OutputFile.h"

#include "store/Backup.h"
#include "store/Files.h"
#include "store/Store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace store::output {

using sql::raise;

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The file a path leads to: every link followed (also one that leads nowhere yet), then the
// folder made canonical, so that two names of one file compare equal.
QString resolved(const QString& path)
{
    QString absolute = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo link(absolute);
        if (!link.isSymLink())
            break;
        absolute = link.symLinkTarget();
    }
    const QFileInfo info(absolute);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

// Two names of the same file (a hard link, or the same path).
bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString openWeddingPath()
{
    const Database* open = Workspace::defaultWorkspace().database();
    return open && open->isOpen() ? open->path() : QString();
}

// The wedding file's own companions: its journals and the temporary files of compaction,
// repair and restore.
bool isCompanion(const QString& target, const QString& wedding)
{
    if (QFileInfo(target).absolutePath() != QFileInfo(wedding).absolutePath())
        return false;
    static const QRegularExpression suffix(
        QStringLiteral("^(-journal|-wal|-shm|\\.(compact|repair|restore)-\\d+(-journal)?)$"));
    const QString name = QFileInfo(target).fileName();
    const QString base = QFileInfo(wedding).fileName();
    return name.startsWith(base) && suffix.match(name.mid(base.size())).hasMatch();
}

bool isInside(const QString& target, const QString& folder)
{
    return !folder.isEmpty() && (target == folder || target.startsWith(folder + QLatin1Char('/')));
}

}  // namespace

QString refusal(const QString& path, const QString& weddingPath)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("No file was named for the output.");
    const QString target = resolved(path);
    const QFileInfo info(target);
    if (info.isDir())
        return QStringLiteral("\"%1\" is a folder. Choose a file name for the output.").arg(shown(path));
    if (info.exists() && !info.isFile())
        return QStringLiteral(
                   "\"%1\" is not a regular file (it is a device or a pipe). Choose a file name "
                   "for the output.")
            .arg(shown(path));
    const QString givenWedding = weddingPath.isEmpty() ? openWeddingPath() : weddingPath;
    if (givenWedding.isEmpty())
        return QString();
    const QString wedding = resolved(givenWedding);
    const QString through = QFileInfo(path).isSymLink() ? QStringLiteral(" (through a link)") : QString();
    if (target == wedding || sameFile(target, wedding))
        return QStringLiteral(
                   "\"%1\"%2 is the wedding file itself. Writing the output there would replace "
                   "the wedding; choose another name.")
            .arg(shown(path), through);
    if (isCompanion(target, wedding))
        return QStringLiteral(
                   "\"%1\"%2 belongs to the wedding file (its journal or a file of its upkeep). "
                   "Choose another name.")
            .arg(shown(path), through);
    const QString backups = QFileInfo(backup::folderFor(givenWedding)).canonicalFilePath();
    if (isInside(target, backups))
        return QStringLiteral(
                   "\"%1\"%2 is in the wedding file's backups folder, where the backups must stay "
                   "as they were made. Choose another folder.")
            .arg(shown(path), through);
    return QString();
}

void check(const QString& path, const QString& weddingPath)
{
    const QString why = refusal(path, weddingPath);
    if (!why.isEmpty())
        raise(err::IoError, why);
}

PendingFile::PendingFile(const QString& path, const QString& weddingPath)
{
    check(path, weddingPath);
    target_ = resolved(path);
    const QFileInfo info(target_);
    if (!QFileInfo(info.absolutePath()).isDir())
        raise(err::IoError, QStringLiteral("\"%1\" cannot be written: the folder %2 does not exist.")
                                .arg(shown(path), shown(info.absolutePath())));
    // What earlier runs that were killed while writing this file left beside it goes first.
    const QString prefix = QStringLiteral(".%1.part-").arg(info.fileName());
    for (const QFileInfo& left :
         QDir(info.absolutePath()).entryInfoList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        const qint64 pid = left.fileName().mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong();
        if (files::abandoned(left.absoluteFilePath(), pid))
            QFile::remove(left.absoluteFilePath());
    }
    static std::atomic<int> counter{0};
    temporary_ = QStringLiteral("%1/%2%3-%4").arg(info.absolutePath(), prefix).arg(::getpid()).arg(++counter);
    QFile::remove(temporary_);
}

PendingFile::~PendingFile()
{
    if (!committed_)
        QFile::remove(temporary_);
}

void PendingFile::commit()
{
    const QFileInfo written(temporary_);
    if (!written.isFile())
        raise(err::IoError,
              QStringLiteral("\"%1\" cannot be written: nothing was written.").arg(shown(target_)));
    // A file written again keeps the permissions it had.
    if (QFileInfo(target_).isFile())
        QFile::setPermissions(temporary_, QFile::permissions(target_));
    try {
        files::replaceFile(temporary_, target_);
    } catch (const StoreError& e) {
        Workspace::defaultWorkspace().clearErrors();
        raise(err::IoError,
              QStringLiteral("\"%1\" cannot be written: %2").arg(shown(target_), e.description()));
    }
    committed_ = true;
}

void writeFile(const QString& path, const QByteArray& bytes, const QString& weddingPath)
{
    PendingFile pending(path, weddingPath);
    QFile file(pending.temporaryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        raise(err::IoError, QStringLiteral("\"%1\" cannot be written: %2").arg(shown(path), reason));
    }
    file.close();
    pending.commit();
}

}  // namespace store::output
