#include "tests/app/SeatingState.h"

#include <QCryptographicHash>
#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace crashtest {

namespace {

QByteArray readText(const QString& databasePath, const char* sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + databasePath.toStdString());
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* st = nullptr;
    QByteArray text;
    QByteArray error;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        error = sqlite3_errmsg(db);
    else if (sqlite3_step(st) != SQLITE_ROW)
        error = sqlite3_errmsg(db);
    else if (const unsigned char* value = sqlite3_column_text(st, 0))
        text = QByteArray(reinterpret_cast<const char*>(value));
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
    return text;
}

}  // namespace

qint64 seatingFingerprint(const QString& databasePath)
{
    const QByteArray text = readText(
        databasePath,
        "SELECT (SELECT group_concat(t, ';') FROM (SELECT TableId || ',' || ifnull(tablename, '') || ',' || "
        "ifnull(tablenumber, '') || ',' || ifnull(\"max\", '') || ',' || ifnull(assigned, '') AS t "
        "FROM Tables ORDER BY TableId)) || '|' || "
        "(SELECT group_concat(g, ';') FROM (SELECT rowid || ',' || ifnull(tableid, '') || ',' || "
        "ifnull(tabletot, '') AS g FROM Guests ORDER BY rowid))");
    const QByteArray hash = QCryptographicHash::hash(text, QCryptographicHash::Sha256);
    qint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | quint8(hash[i]);
    return value & 0x3fffffffffffffff;
}

int seatingDisagreements(const QString& databasePath)
{
    return readText(databasePath,
                    "SELECT (SELECT count(*) FROM Tables t WHERE ifnull(t.assigned, 0) <> "
                    "(SELECT ifnull(sum(g.tabletot), 0) FROM Guests g WHERE g.tableid = t.TableId)) + "
                    "(SELECT count(*) FROM Guests WHERE ifnull(tableid, 0) <> 0 AND "
                    "tableid NOT IN (SELECT TableId FROM Tables))")
        .toInt();
}

}  // namespace crashtest
