// Compaction and repair of a database file.
//
// Compaction writes a defragmented copy with VACUUM INTO beside the destination, checks it
// and only then gives it the destination's name. Repair leaves a sound file untouched;
// a damaged one is salvaged table by table (reading rows in key order and skipping key
// ranges whose pages cannot be read) into a new file built from the damaged file's own
// schema, which is checked and then renamed over the damaged file in one step.
#include "store/Engine.h"
#include "store/Files.h"
#include "store/Handle.h"
#include "store/RecordsetImpl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <limits>
#include <optional>

namespace store {

namespace {

using sql::raise;

using files::Connection;
using files::integrityCheck;
using files::isSound;
using files::replaceFile;
using files::siblingName;

// Raises the first of several errors after recording them all.
[[noreturn]] void raiseAll(const std::vector<StoreError>& errors)
{
    Workspace& ws = Workspace::defaultWorkspace();
    ws.clearErrors();
    for (const StoreError& e : errors)
        ws.recordError(e);
    throw errors.front();
}

void checkSource(const QString& path)
{
    const QFileInfo fi(path);
    if (!fi.exists() || fi.isDir())
        raise(err::FileNotFound,
              QStringLiteral("Could not find the database file '%1'.").arg(QDir::toNativeSeparators(path)));
    if (fi.size() == 0)
        raise(err::NotADatabase, QStringLiteral("The file '%1' is empty; it is not a database.")
                                     .arg(QDir::toNativeSeparators(path)));
}

// The workspace's open database on this file, if any.
Database* openDatabaseOn(const QString& path)
{
    Database* db = Workspace::defaultWorkspace().database();
    if (db && db->isOpen() &&
        QFileInfo(db->path()).canonicalFilePath() == QFileInfo(path).canonicalFilePath())
        return db;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------

void Workspace::compactDatabase(const QString& source, const QString& destination)
{
    Workspace::defaultWorkspace().clearErrors();
    checkSource(source);
    if (QFileInfo::exists(destination))
        raise(err::DatabaseExists,
              QStringLiteral("The file '%1' already exists; compaction needs a new file name.")
                  .arg(QDir::toNativeSeparators(destination)));
    const QString temp = siblingName(destination, ".compact-");
    QFile::remove(temp);

    std::unique_ptr<Connection> own;
    sqlite3* db = nullptr;
    if (Database* open = openDatabaseOn(source)) {
        // The open connection can compact itself once no statement is in progress.
        if (open->impl().depth > 0)
            raise(err::InvalidOperation,
                  QStringLiteral("The database cannot be compacted while a transaction is open."));
        open->impl().finishStatements();
        db = handleOf(*open);
    } else {
        own = std::make_unique<Connection>(source, SQLITE_OPEN_READWRITE);
        db = own->get();
    }
    {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            const QByteArray name = QFile::encodeName(temp);
            sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            rc = sqlite3_step(st);
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE && rc != SQLITE_OK) {
            QFile::remove(temp);
            if ((rc & 0xff) == SQLITE_NOTADB)
                raise(err::NotADatabase,
                      QStringLiteral("The file '%1' is not a database in a format this program can read.")
                          .arg(QDir::toNativeSeparators(source)));
            sql::fail(db, rc, QStringLiteral("compacting %1").arg(QDir::toNativeSeparators(source)));
        }
    }
    own.reset();

    QStringList check;
    {
        Connection copy(temp, SQLITE_OPEN_READWRITE);
        check = integrityCheck(copy.get());
        if (isSound(check))
            sql::exec(copy.get(), QStringLiteral("PRAGMA journal_mode=DELETE"));
    }
    if (!isSound(check)) {
        QFile::remove(temp);
        std::vector<StoreError> errors{
            StoreError(err::Damaged, QStringLiteral("The compacted copy of '%1' failed its "
                                                    "check; the database was not changed.")
                                         .arg(QDir::toNativeSeparators(source)))};
        for (const QString& problem : check.mid(0, 10))
            errors.emplace_back(err::Damaged, problem);
        raiseAll(errors);
    }
    replaceFile(temp, destination);
}

// ---------------------------------------------------------------------------------------

namespace {

struct TableSalvage {
    int recovered = 0;
    int lost = 0;
    bool lostKnown = true;
};

// How many rows the damaged file still counts in a table: the largest count that the table's
// own B-tree or any of its indexes gives. nullopt when none of them can be read to the end.
std::optional<qint64> reachableRows(sqlite3* src, const QString& table)
{
    QStringList ways{"SELECT count(*) FROM " + dialect::quoteIdentifier(table)};
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(src, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1",
                               -1, &st, nullptr) == SQLITE_OK) {
            const QByteArray name = table.toUtf8();
            sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            while (sqlite3_step(st) == SQLITE_ROW)
                ways << "SELECT count(*) FROM " + dialect::quoteIdentifier(table) + " INDEXED BY " +
                            dialect::quoteIdentifier(
                                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
        }
        sqlite3_finalize(st);
    }
    std::optional<qint64> best;
    for (const QString& way : ways) {
        sqlite3_stmt* counter = nullptr;
        if (sqlite3_prepare_v2(src, way.toUtf8().constData(), -1, &counter, nullptr) == SQLITE_OK &&
            sqlite3_step(counter) == SQLITE_ROW) {
            const qint64 n = sqlite3_column_int64(counter, 0);
            if (!best || n > *best)
                best = n;
        }
        sqlite3_finalize(counter);
    }
    return best;
}

// Copies every readable row of one table from src into dst, in rowid order. Where a page
// cannot be read, the scan starts again past the smallest key beyond the damage.
TableSalvage salvageTable(sqlite3* src, sqlite3* dst, const QString& table, std::vector<StoreError>& notes)
{
    TableSalvage result;
    const QString q = dialect::quoteIdentifier(table);
    QStringList names;
    {
        sql::Statement info(src, "SELECT name FROM pragma_table_info(" + dialect::quoteLiteral(table) + ")");
        while (info.step())
            names << dialect::quoteIdentifier(info.column(0).toString());
    }
    const int count = int(names.size());
    QStringList marks;
    for (int i = 0; i <= count; ++i)
        marks << QStringLiteral("?%1").arg(i + 1);
    sql::Statement insert(
        dst, "INSERT INTO " + q + " (rowid, " + names.join(", ") + ") VALUES (" + marks.join(", ") + ")");

    sqlite3_stmt* scan = nullptr;
    const QByteArray scanSql = ("SELECT rowid, * FROM " + q + " WHERE rowid >= ?1 ORDER BY rowid").toUtf8();
    if (sqlite3_prepare_v2(src, scanSql.constData(), -1, &scan, nullptr) != SQLITE_OK) {
        notes.emplace_back(err::Damaged, QStringLiteral("The table '%1' could not be read: %2.")
                                             .arg(table, QString::fromUtf8(sqlite3_errmsg(src))));
        return result;
    }
    // Does a scan from `start` read its first row? Returns the row's key, or nullopt past
    // the last row; throws false when the pages on the way are damaged.
    auto probe = [&](qint64 start) -> std::optional<qint64> {
        sqlite3_reset(scan);
        sqlite3_bind_int64(scan, 1, start);
        const int rc = sqlite3_step(scan);
        if (rc == SQLITE_ROW) {
            const qint64 key = sqlite3_column_int64(scan, 0);
            sqlite3_reset(scan);
            return key;
        }
        sqlite3_reset(scan);
        if (rc == SQLITE_DONE)
            return std::nullopt;
        throw false;
    };
    constexpr qint64 maxKey = std::numeric_limits<qint64>::max();
    qint64 start = std::numeric_limits<qint64>::min();
    int damagedRanges = 0;
    for (;;) {
        sqlite3_reset(scan);
        sqlite3_bind_int64(scan, 1, start);
        int rc = SQLITE_ROW;
        qint64 last = start;
        bool readAny = false;
        while ((rc = sqlite3_step(scan)) == SQLITE_ROW) {
            last = sqlite3_column_int64(scan, 0);
            readAny = true;
            for (int i = 0; i <= count; ++i) {
                const int type = sqlite3_column_type(scan, i);
                switch (type) {
                    case SQLITE_INTEGER:
                        sqlite3_bind_int64(insert.get(), i + 1, sqlite3_column_int64(scan, i));
                        break;
                    case SQLITE_FLOAT:
                        sqlite3_bind_double(insert.get(), i + 1, sqlite3_column_double(scan, i));
                        break;
                    case SQLITE_TEXT:
                        sqlite3_bind_text(insert.get(), i + 1,
                                          reinterpret_cast<const char*>(sqlite3_column_text(scan, i)),
                                          sqlite3_column_bytes(scan, i), SQLITE_TRANSIENT);
                        break;
                    case SQLITE_BLOB:
                        sqlite3_bind_blob(insert.get(), i + 1, sqlite3_column_blob(scan, i),
                                          sqlite3_column_bytes(scan, i), SQLITE_TRANSIENT);
                        break;
                    default:
                        sqlite3_bind_null(insert.get(), i + 1);
                        break;
                }
            }
            const int ins = sqlite3_step(insert.get());
            sqlite3_reset(insert.get());
            if (ins == SQLITE_DONE)
                ++result.recovered;
            else
                ++result.lost;  // e.g. a damaged value that breaks a unique rule
            if (last == maxKey)
                break;
        }
        sqlite3_reset(scan);
        if (rc == SQLITE_DONE || last == maxKey)
            break;
        // Damage: find the smallest start past `last` whose scan can begin.
        ++damagedRanges;
        const qint64 from = readAny ? last + 1 : start;
        qint64 step = 1;
        qint64 good = -1;
        bool end = false;
        qint64 bad = from;
        for (;;) {
            const qint64 candidate = (maxKey - bad < step) ? maxKey : bad + step;
            try {
                if (!probe(candidate))
                    end = true;
                good = candidate;
                break;
            } catch (bool) {
                bad = candidate;
                if (candidate == maxKey) {
                    end = true;
                    break;
                }
                step = step > maxKey / 2 ? maxKey : step * 2;
            }
        }
        if (end && good < 0)
            break;
        // Narrow down between the last damaged start and the first good one.
        qint64 lo = bad, hi = good;
        while (hi - lo > 1) {
            const qint64 mid = lo + (hi - lo) / 2;
            try {
                probe(mid);
                hi = mid;
            } catch (bool) {
                lo = mid;
            }
        }
        start = hi;
    }
    sqlite3_finalize(scan);
    if (damagedRanges > 0)
        notes.emplace_back(err::Damaged,
                           QStringLiteral("The table '%1' had %2 damaged part(s); %3 row(s) were read.")
                               .arg(table)
                               .arg(damagedRanges)
                               .arg(result.recovered));
    // The rows lost are those the damaged file still counts but the scan could not read.
    // Without any count the number is unknown, unless the scan met no damage at all.
    if (const auto known = reachableRows(src, table))
        result.lost = std::max(result.lost, int(*known) - result.recovered);
    else if (damagedRanges > 0)
        result.lostKnown = false;
    return result;
}

}  // namespace

Workspace::RepairReport Workspace::repairDatabase(const QString& path)
{
    Workspace::defaultWorkspace().clearErrors();
    checkSource(path);
    if (openDatabaseOn(path))
        raise(err::InvalidOperation, QStringLiteral("Close the database before repairing it."));
    RepairReport report;
    const QString shown = QDir::toNativeSeparators(path);
    // Opening for writing lets SQLite roll back an interrupted write from its journal.
    Connection src(path, SQLITE_OPEN_READWRITE);
    // Reads a file shorter than its header says (cut off by a full disk or a crash) as far
    // as it goes, instead of refusing it as a whole; nothing is written through this.
    sqlite3_exec(src.get(), "PRAGMA writable_schema=ON", nullptr, nullptr, nullptr);
    QStringList check = integrityCheck(src.get());
    if (isSound(check))
        return report;
    if (!check.isEmpty() && check.first().contains(QLatin1String("not a database")))
        raise(err::NotADatabase,
              QStringLiteral("The file '%1' is not a database; it cannot be repaired.").arg(shown));
    report.wasDamaged = true;

    struct Object {
        QString type, name, sql;
    };
    std::vector<Object> objects;
    {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(src.get(), "SELECT type, name, sql FROM sqlite_master ORDER BY rowid", -1,
                                    &st, nullptr);
        while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            auto text = [&](int i) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                return QString::fromUtf8(t ? t : "");
            };
            objects.push_back({text(0), text(1), text(2)});
            rc = SQLITE_OK;
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            raise(err::Damaged,
                  QStringLiteral("The database file '%1' is damaged beyond repair: its list of tables "
                                 "cannot be read.")
                      .arg(shown));
    }

    const QString temp = siblingName(path, ".repair-");
    QFile::remove(temp);
    std::vector<StoreError> notes;
    try {
        Connection dst(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        sql::exec(dst.get(), QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN"));
        for (const Object& o : objects)
            if (o.type == "table" && !o.name.startsWith(QLatin1String("sqlite_")) && !o.sql.isEmpty())
                sql::exec(dst.get(), o.sql);
        for (const Object& o : objects) {
            if (o.type != "table" || o.name.startsWith(QLatin1String("sqlite_")) || o.sql.isEmpty())
                continue;
            const TableSalvage s = salvageTable(src.get(), dst.get(), o.name, notes);
            report.rowsRecovered += s.recovered;
            if (s.lostKnown)
                report.rowsLost += s.lost;
            if (s.lost > 0 || !s.lostKnown)
                report.losses.push_back({o.name, s.recovered, s.lost, s.lostKnown});
        }
        // Auto-number counters, so that new keys never repeat salvaged or lost ones.
        sqlite3_stmt* seq = nullptr;
        if (sqlite3_prepare_v2(src.get(), "SELECT name, seq FROM sqlite_sequence", -1, &seq, nullptr) ==
            SQLITE_OK) {
            // Salvaging rows has already started a counter at the highest key that came back;
            // the damaged file's counter, which also counts removed rows, replaces it when higher.
            while (sqlite3_step(seq) == SQLITE_ROW) {
                const QString name =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(seq, 0)));
                const qint64 value = sqlite3_column_int64(seq, 1);
                for (const char* text :
                     {"DELETE FROM sqlite_sequence WHERE name = ?1 AND seq <= ?2",
                      "INSERT INTO sqlite_sequence (name, seq) SELECT ?1, ?2 "
                      "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?1)"}) {
                    sql::Statement put(dst.get(), QString::fromLatin1(text));
                    put.bind(1, name);
                    put.bind(2, value);
                    put.step();
                }
            }
        }
        sqlite3_finalize(seq);
        for (const Object& o : objects) {
            if (o.type == "table" || o.sql.isEmpty())
                continue;
            try {
                sql::exec(dst.get(), o.sql);
            } catch (const StoreError& e) {
                notes.emplace_back(e.number(), QStringLiteral("The %1 '%2' could not be rebuilt: %3")
                                                   .arg(o.type, o.name, e.description()));
            }
        }
        // The file's layout version travels with it, so that it is not upgraded a second time.
        sqlite3_stmt* version = nullptr;
        if (sqlite3_prepare_v2(src.get(), "PRAGMA user_version", -1, &version, nullptr) == SQLITE_OK &&
            sqlite3_step(version) == SQLITE_ROW)
            sql::exec(dst.get(),
                      QStringLiteral("PRAGMA user_version=%1").arg(sqlite3_column_int(version, 0)));
        sqlite3_finalize(version);
        sql::exec(dst.get(), QStringLiteral("COMMIT"));
        check = integrityCheck(dst.get());
        if (!isSound(check))
            raise(err::Damaged, QStringLiteral("The repaired copy failed its check: %1").arg(check.first()));
        sql::exec(dst.get(), QStringLiteral("PRAGMA journal_mode=DELETE"));
    } catch (const StoreError& e) {
        QFile::remove(temp);
        std::vector<StoreError> errors{e};
        errors.insert(errors.end(), notes.begin(), notes.end());
        raiseAll(errors);
    }
    src.close();
    QFile::remove(path + "-journal");
    replaceFile(temp, path);
    return report;
}

}  // namespace store
