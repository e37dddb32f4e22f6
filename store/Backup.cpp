#include "store/Backup.h"

#include "store/Files.h"
#include "store/Store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <set>

namespace store::backup {

using sql::raise;

namespace {

constexpr const char* PartSuffix = ".part-";

struct ReasonName {
    Reason reason;
    const char* key;
    const char* text;
};
constexpr ReasonName Reasons[] = {
    {Reason::Daily, "daily", "Start of the day"},
    {Reason::Compaction, "compact", "Before compacting"},
    {Reason::Repair, "repair", "Before repairing"},
    {Reason::Restore, "restore", "Before restoring a backup"},
    {Reason::Upgrade, "upgrade", "Before upgrading the file"},
    {Reason::Import, "import", "Before importing"},
    {Reason::Manual, "manual", "Made by hand"},
    {Reason::Seating, "seating", "Before applying a seating plan"},
    {Reason::Change, "change", "Before changing many guests"},
    {Reason::Undo, "undo", "Before an undo"},
};

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The file the database path leads to (a link is followed).
QString realPath(const QString& databasePath)
{
    const QFileInfo fi(databasePath);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? fi.absoluteFilePath() : canonical;
}

QString baseName(const QString& databasePath)
{
    return QFileInfo(databasePath).completeBaseName();
}

const QRegularExpression& namePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(.+)-(\\d{8})-(\\d{6})(?:-(\\d+))?-([a-z]+)\\.mdb$"));
    return pattern;
}

struct Parsed {
    QDateTime made;
    int sequence = 0;
    Reason reason = Reason::Manual;
};

std::optional<Parsed> parseName(const QString& fileName, const QString& base)
{
    const QRegularExpressionMatch m = namePattern().match(fileName);
    if (!m.hasMatch() || m.captured(1) != base)
        return std::nullopt;
    Parsed p;
    p.made = QDateTime(QDate::fromString(m.captured(2), QStringLiteral("yyyyMMdd")),
                       QTime::fromString(m.captured(3), QStringLiteral("HHmmss")));
    if (!p.made.isValid())
        return std::nullopt;
    p.sequence = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    const QString key = m.captured(5);
    bool known = false;
    for (const ReasonName& r : Reasons)
        if (key == QLatin1String(r.key)) {
            p.reason = r.reason;
            known = true;
        }
    if (!known)
        return std::nullopt;
    return p;
}

// A free name for a backup made now: backups made in the same second are numbered, so
// that the newest sorts first whatever its reason.
QString newBackupPath(const QString& folder, const QString& base, Reason reason)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    int next = 0;
    const QStringList same =
        QDir(folder).entryList({base + QLatin1Char('-') + stamp + QStringLiteral("-*.mdb")});
    for (const QString& name : same)
        if (const auto parsed = parseName(name, base))
            next = std::max(next, parsed->sequence + 1);
    const QString sequence = next == 0 ? QString() : QStringLiteral("-%1").arg(next);
    return QStringLiteral("%1/%2-%3%4-%5.mdb").arg(folder, base, stamp, sequence, reasonKey(reason));
}

// Copies the committed state of `source` into `destination` with the online backup API.
// Returns SQLITE_DONE, or the failing code.
int onlineCopy(const QString& source, const QString& destination)
{
    sqlite3* src = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(source).constData(), &src, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(src);
        src = nullptr;
        rc = sqlite3_open_v2(QFile::encodeName(source).constData(), &src, SQLITE_OPEN_READONLY, nullptr);
    }
    if (rc != SQLITE_OK) {
        sqlite3_close(src);
        return rc;
    }
    sqlite3_busy_timeout(src, 2000);
    sqlite3* dst = nullptr;
    rc = sqlite3_open_v2(QFile::encodeName(destination).constData(), &dst,
                         SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        // The copy is synced and named by the caller; no journal is needed while it is made.
        sqlite3_exec(dst, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
        if (!b) {
            rc = sqlite3_errcode(dst);
        } else {
            do {
                rc = sqlite3_backup_step(b, -1);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                    sqlite3_sleep(20);
            } while (rc == SQLITE_BUSY || rc == SQLITE_LOCKED || rc == SQLITE_OK);
            const int finished = sqlite3_backup_finish(b);
            if (rc == SQLITE_DONE && finished != SQLITE_OK)
                rc = finished;
        }
        // A copy of a file that is not a database, or is damaged, says so only when read.
        if (rc == SQLITE_DONE) {
            const int check =
                sqlite3_exec(dst, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
            if (check != SQLITE_OK)
                rc = check;
        }
    }
    sqlite3_close(dst);
    sqlite3_close(src);
    return rc;
}

// Counts the guest parties and tasks of a backup; -1 each when it cannot be read.
void readCounts(Entry& e)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(e.path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT (SELECT count(*) FROM Guests), (SELECT count(*) FROM Checklist)",
                               -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW) {
            e.guestParties = sqlite3_column_int(st, 0);
            e.tasks = sqlite3_column_int(st, 1);
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

}  // namespace

QString reasonKey(Reason reason)
{
    for (const ReasonName& r : Reasons)
        if (r.reason == reason)
            return QString::fromLatin1(r.key);
    return QStringLiteral("manual");
}

QString reasonText(Reason reason)
{
    for (const ReasonName& r : Reasons)
        if (r.reason == reason)
            return QString::fromLatin1(r.text);
    return QString();
}

QString folderFor(const QString& databasePath)
{
    return QFileInfo(realPath(databasePath)).absolutePath() + QStringLiteral("/backups");
}

QString make(const QString& databasePath, Reason reason)
{
    const QString source = realPath(databasePath);
    const QFileInfo fi(source);
    if (!fi.exists() || fi.isDir())
        raise(
            err::FileNotFound,
            QStringLiteral("Could not find the database file '%1' to back it up.").arg(shown(databasePath)));
    // A routine copy of a file that is not a sound wedding would only push sound backups out
    // of the rotation.
    if (reason == Reason::Daily || reason == Reason::Upgrade) {
        int number = err::Damaged;
        const QString problem = files::weddingFileProblem(source, true, &number);
        if (!problem.isEmpty())
            raise(number,
                  QStringLiteral("No backup was made of the wedding file '%1': %2. Repair it, or restore "
                                 "a backup.")
                      .arg(shown(databasePath), problem));
    }
    const QString folder = folderFor(databasePath);
    if (!QDir().mkpath(folder))
        raise(err::IoError, QStringLiteral("Could not make the backup folder '%1'.").arg(shown(folder)));
    const QString target = newBackupPath(folder, baseName(databasePath), reason);
    const QString part = files::siblingName(target, PartSuffix);
    QFile::remove(part);
    const int rc = onlineCopy(source, part);
    if (rc != SQLITE_DONE) {
        QFile::remove(part);
        if ((rc & 0xff) == SQLITE_FULL)
            raise(err::IoError,
                  QStringLiteral("Could not make a backup of the database: the disk is full (%1).")
                      .arg(shown(folder)));
    }
    try {
        // A file SQLite cannot read as a database is kept exactly as it is.
        if (rc != SQLITE_DONE)
            files::copyFile(source, part);
        files::replaceFile(part, target);
    } catch (const StoreError& e) {
        QFile::remove(part);
        Workspace::defaultWorkspace().clearErrors();
        raise(err::IoError,
              QStringLiteral("Could not make a backup of the database: %1").arg(e.description()));
    }
    prune(databasePath);
    return target;
}

QString makeDailyIfDue(const QString& databasePath, const QDateTime& now)
{
    for (const Entry& e : list(databasePath, false))
        if (e.reason == Reason::Daily && e.made.date() == now.date())
            return QString();
    return make(databasePath, Reason::Daily);
}

std::vector<Entry> list(const QString& databasePath, bool counts)
{
    const QString folder = folderFor(databasePath);
    const QString base = baseName(databasePath);
    std::vector<std::pair<int, Entry>> found;
    const QFileInfoList infos = QDir(folder).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files);
    for (const QFileInfo& info : infos) {
        const auto parsed = parseName(info.fileName(), base);
        if (!parsed)
            continue;
        Entry e;
        e.path = info.absoluteFilePath();
        e.made = parsed->made;
        e.size = info.size();
        e.reason = parsed->reason;
        if (counts)
            readCounts(e);
        found.emplace_back(parsed->sequence, e);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.second.made != b.second.made)
            return a.second.made > b.second.made;
        return a.first > b.first;
    });
    std::vector<Entry> entries;
    for (auto& f : found)
        entries.push_back(std::move(f.second));
    return entries;
}

QString restore(const QString& databasePath, const QString& backupPath)
{
    const QString target = realPath(databasePath);
    if (Database* open = Workspace::defaultWorkspace().database();
        open && open->isOpen() && realPath(open->path()) == target)
        raise(err::InvalidOperation, QStringLiteral("Close the database before restoring a backup."));
    const QFileInfo chosen(backupPath);
    if (chosen.isDir())
        raise(err::NotADatabase, QStringLiteral("'%1' is a folder, not a backup.").arg(shown(backupPath)));
    if (chosen.exists() && !chosen.isFile())
        raise(err::NotADatabase,
              QStringLiteral("'%1' is not a regular file, so it is no backup.").arg(shown(backupPath)));
    if (!chosen.isFile())
        raise(err::FileNotFound, QStringLiteral("Could not find the backup '%1'.").arg(shown(backupPath)));
    if (realPath(backupPath) == target)
        raise(err::InvalidOperation,
              QStringLiteral("'%1' is the wedding file itself, not a backup of it.").arg(shown(backupPath)));
    int number = err::Damaged;
    if (const QString problem = files::weddingFileProblem(backupPath, false, &number); !problem.isEmpty())
        raise(number,
              QStringLiteral("The backup '%1' was not restored: %2. The wedding file was not changed.")
                  .arg(shown(backupPath), problem));
    // The chosen backup is copied before the current file is backed up, since making that
    // backup prunes the folder.
    const QString temp = files::siblingName(target, ".restore-");
    files::copyFile(backupPath, temp);
    QString kept;
    try {
        if (QFileInfo::exists(target))
            kept = make(databasePath, Reason::Restore);
        // A journal left by the replaced file must never be applied to the restored one.
        const QString journal = target + QStringLiteral("-journal");
        if (QFileInfo::exists(journal) && !QFile::remove(journal))
            raise(err::IoError, QStringLiteral("Could not remove the old journal '%1'.").arg(shown(journal)));
        files::replaceFile(temp, target);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    return kept;
}

QStringList columnTitles()
{
    return {QStringLiteral("Made"), QStringLiteral("Size"), QStringLiteral("Guest Parties"),
            QStringLiteral("Tasks"), QStringLiteral("Why")};
}

QStringList columns(const Entry& entry)
{
    const QLocale locale;
    const auto count = [&](int n) { return n < 0 ? QStringLiteral("cannot be read") : locale.toString(n); };
    return {locale.toString(entry.made, QLocale::ShortFormat),
            locale.formattedDataSize(entry.size, 1, QLocale::DataSizeTraditionalFormat),
            count(entry.guestParties), count(entry.tasks), reasonText(entry.reason)};
}

std::vector<int> keptByRule(const std::vector<QDateTime>& newestFirst, const QDateTime& now)
{
    std::vector<int> kept;
    std::set<std::pair<int, int>> weeks;
    const QDateTime oldestWeekly = now.addDays(-KeepWeeksDays);
    for (int i = 0; i < int(newestFirst.size()); ++i) {
        const QDateTime& made = newestFirst[size_t(i)];
        bool keep = i < KeepNewest;
        if (made >= oldestWeekly) {
            int year = 0;
            const int week = made.date().weekNumber(&year);
            if (weeks.insert({year, week}).second)
                keep = true;
        }
        if (keep)
            kept.push_back(i);
    }
    if (int(kept.size()) > MaxKept)
        kept.resize(MaxKept);
    return kept;
}

int prune(const QString& databasePath, const QDateTime& now)
{
    int removed = 0;
    const QString folder = folderFor(databasePath);
    // Half-written backups of runs that ended before finishing them.
    static const QRegularExpression partPattern(QStringLiteral("\\.part-(\\d+)$"));
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        const QRegularExpressionMatch m = partPattern.match(info.fileName());
        if (m.hasMatch() && files::abandoned(info.absoluteFilePath(), m.captured(1).toLongLong()) &&
            QFile::remove(info.absoluteFilePath()))
            ++removed;
    }
    const std::vector<Entry> entries = list(databasePath, false);
    std::vector<QDateTime> times;
    for (const Entry& e : entries)
        times.push_back(e.made);
    const std::vector<int> kept = keptByRule(times, now);
    std::set<int> keep(kept.begin(), kept.end());
    // Whatever the rule prunes, the newest sound backups stay: a run of copies of a damaged
    // or foreign file never leaves the couple without a file to go back to.
    for (int i = 0, sound = 0; i < int(entries.size()) && sound < KeepSound; ++i)
        if (files::weddingFileProblem(entries[size_t(i)].path, true).isEmpty()) {
            keep.insert(i);
            ++sound;
        }
    for (int i = 0; i < int(entries.size()); ++i)
        if (!keep.count(i) && QFile::remove(entries[size_t(i)].path))
            ++removed;
    return removed;
}

int removeLeftovers(const QString& databasePath)
{
    static const QRegularExpression pattern(QStringLiteral("\\.(compact|repair|restore)-(\\d+)(-journal)?$"));
    QStringList folders{QFileInfo(databasePath).absolutePath()};
    const QString real = QFileInfo(realPath(databasePath)).absolutePath();
    if (!folders.contains(real))
        folders << real;
    int removed = 0;
    for (const QString& folder : folders) {
        for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
            const QRegularExpressionMatch m = pattern.match(info.fileName());
            if (m.hasMatch() && files::abandoned(info.absoluteFilePath(), m.captured(2).toLongLong()) &&
                QFile::remove(info.absoluteFilePath()))
                ++removed;
        }
    }
    return removed;
}

}  // namespace store::backup
