#include "store/Files.h"

#include "store/LayoutSteps.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace store::files {

using sql::raise;

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

Connection::Connection(const QString& path, int flags)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        raise(err::IoError, QStringLiteral("Could not open '%1': %2.").arg(shown(path), message));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 2000);
}

void Connection::close()
{
    if (!db_)
        return;
    sqlite3_stmt* st = nullptr;
    while ((st = sqlite3_next_stmt(db_, nullptr)) != nullptr)
        sqlite3_finalize(st);
    sqlite3_close(db_);
    db_ = nullptr;
}

QStringList integrityCheck(sqlite3* db, bool quick)
{
    QStringList problems;
    sqlite3_stmt* st = nullptr;
    int rc =
        sqlite3_prepare_v2(db, quick ? "PRAGMA quick_check" : "PRAGMA integrity_check", -1, &st, nullptr);
    if (rc != SQLITE_OK) {
        problems << QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        return problems;
    }
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        problems << QString::fromUtf8(text ? text : "");
    }
    if (rc != SQLITE_DONE)
        problems << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    return problems;
}

bool isSound(const QStringList& check)
{
    return check.size() == 1 && check.first() == QLatin1String("ok");
}

QString weddingProblem(sqlite3* db, bool quick, int* number)
{
    const auto problem = [number](int n, const QString& text) {
        if (number)
            *number = n;
        return text;
    };
    QStringList tables;
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &st, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_OK)
        return (rc & 0xff) == SQLITE_NOTADB
                   ? problem(err::NotADatabase, QStringLiteral("it is not a database"))
                   : problem(err::Damaged,
                             QStringLiteral("it is damaged (%1)").arg(QString::fromUtf8(sqlite3_errstr(rc))));
    const QStringList check = integrityCheck(db, quick);
    if (!isSound(check))
        return problem(err::Damaged, QStringLiteral("it is damaged (%1)").arg(check.value(0)));
    for (const char* table : layout::originalTables())
        if (!tables.contains(QLatin1String(table), Qt::CaseInsensitive))
            return problem(err::NotADatabase,
                           QStringLiteral("it is not a wedding file of this program (it has no table %1)")
                               .arg(QLatin1String(table)));
    int version = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    if (version < 0 || version > layout::latestVersion())
        return problem(
            err::NotADatabase,
            QStringLiteral("it was made by a newer version of the program (layout %1; this version "
                           "knows layouts up to %2)")
                .arg(version)
                .arg(layout::latestVersion()));
    return QString();
}

QString weddingFileProblem(const QString& path, bool quick, int* number)
{
    try {
        Connection check(path, SQLITE_OPEN_READONLY);
        return weddingProblem(check.get(), quick, number);
    } catch (const StoreError&) {
        if (number)
            *number = err::NotADatabase;
        return QStringLiteral("it cannot be opened as a database");
    }
}

bool syncFile(const QString& path)
{
    bool ok = true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ok = ::fsync(fd) == 0;
        ::close(fd);
    }
    const int dir =
        ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return ok;
}

void replaceFile(const QString& from, const QString& to)
{
    if (!syncFile(from))
        raise(err::IoError,
              QStringLiteral("Could not write '%1' to the disk: %2.").arg(shown(from), systemReason()));
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        raise(err::IoError, QStringLiteral("Could not rename '%1' to '%2'.").arg(shown(from), shown(to)));
    syncFile(to);
}

void copyFile(const QString& from, const QString& to)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY);
    if (in < 0)
        raise(err::IoError, QStringLiteral("Could not read '%1': %2.").arg(shown(from), systemReason()));
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) {
        const QString reason = systemReason();
        ::close(in);
        raise(err::IoError, QStringLiteral("Could not write '%1': %2.").arg(shown(to), reason));
    }
    char buffer[1 << 16];
    bool ok = true;
    QString reason;
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            reason = systemReason();
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                ok = false;
                reason = systemReason();
                break;
            }
            done += w;
        }
        if (!ok)
            break;
    }
    if (ok && ::fsync(out) != 0) {
        ok = false;
        reason = systemReason();
    }
    ::close(in);
    if (::close(out) != 0 && ok) {
        ok = false;
        reason = systemReason();
    }
    if (!ok) {
        QFile::remove(to);
        raise(err::IoError, QStringLiteral("Could not write '%1': %2.").arg(shown(to), reason));
    }
}

QString siblingName(const QString& path, const char* suffix)
{
    return path + QLatin1String(suffix) + QString::number(::getpid());
}

bool abandoned(const QString& path, qint64 pid)
{
    if (pid == qint64(::getpid()))
        return false;
    if (QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime()) > 3600)
        return true;
    return pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
}

}  // namespace store::files
