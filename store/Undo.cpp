#include "store/Undo.h"

#include "store/Backup.h"
#include "store/Engine.h"
#include "store/Handle.h"
#include "store/Sqlite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtDebug>

namespace store::undo {

namespace {

constexpr const char* SchemaKey = "";
constexpr const char* Source = "orv_undo";

[[noreturn]] void refuse(const QString& why)
{
    sql::raise(err::InvalidOperation, why);
}

QString recordPath(const QString& databasePath)
{
    return backup::folderFor(databasePath) + QLatin1Char('/') + QFileInfo(databasePath).completeBaseName() +
           QStringLiteral("-undo.json");
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// The tables of one schema of the connection ("main" or the attached backup), in name order;
// SQLite's own statistics tables are left out (they follow the rows, not the other way round).
QStringList tablesOf(sqlite3* db, const QString& schema)
{
    QStringList names;
    sql::Statement st(db, QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' AND name NOT "
                                         "LIKE 'sqlite\\_stat%' ESCAPE '\\' ORDER BY name")
                              .arg(schema));
    while (st.step())
        names << st.column(0).toString();
    return names;
}

void addValue(QCryptographicHash& hash, sqlite3_stmt* st, int column)
{
    const int type = sqlite3_column_type(st, column);
    const char tag = char('0' + type);
    hash.addData(QByteArrayView(&tag, 1));
    if (type == SQLITE_NULL)
        return;
    if (type == SQLITE_INTEGER) {
        const qint64 v = sqlite3_column_int64(st, column);
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v));
        return;
    }
    if (type == SQLITE_FLOAT) {
        const double v = sqlite3_column_double(st, column);
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v));
        return;
    }
    const char* bytes = static_cast<const char*>(type == SQLITE_TEXT
                                                     ? static_cast<const void*>(sqlite3_column_text(st, column))
                                                     : sqlite3_column_blob(st, column));
    const qint64 size = sqlite3_column_bytes(st, column);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
    if (bytes)
        hash.addData(QByteArrayView(bytes, size));
}

QByteArray tableDigest(sqlite3* db, const QString& schema, const QString& table)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    sql::Statement st(db, QStringLiteral("SELECT rowid, * FROM %1.%2 ORDER BY rowid").arg(schema, quoted(table)));
    const int columns = st.columnCount();
    while (st.step())
        for (int c = 0; c < columns; ++c)
            addValue(hash, st.get(), c);
    return hash.result();
}

Digests digestsOf(sqlite3* db, const QString& schema)
{
    Digests result;
    QCryptographicHash layout(QCryptographicHash::Sha1);
    {
        sql::Statement st(db, QStringLiteral("SELECT type, name, sql FROM %1.sqlite_master ORDER BY type, name")
                                  .arg(schema));
        while (st.step())
            for (int c = 0; c < 3; ++c)
                addValue(layout, st.get(), c);
        sql::Statement version(db, QStringLiteral("PRAGMA %1.user_version").arg(schema));
        if (version.step())
            addValue(layout, version.get(), 0);
    }
    result.insert(QString::fromLatin1(SchemaKey), layout.result());
    for (const QString& table : tablesOf(db, schema))
        result.insert(table, tableDigest(db, schema, table));
    return result;
}

QJsonObject toJson(const Digests& d)
{
    QJsonObject o;
    for (auto it = d.begin(); it != d.end(); ++it)
        o.insert(it.key(), QString::fromLatin1(it.value().toHex()));
    return o;
}

Digests fromJson(const QJsonObject& o)
{
    Digests d;
    for (auto it = o.begin(); it != o.end(); ++it)
        d.insert(it.key(), QByteArray::fromHex(it.value().toString().toLatin1()));
    return d;
}

// The columns to copy a table's rows with their keys: rowid first unless a column is the rowid.
QString copyColumns(sqlite3* db, const QString& table)
{
    QStringList columns;
    int keyColumns = 0;
    bool integerKey = false;
    sql::Statement st(db, QStringLiteral("PRAGMA main.table_info(%1)").arg(quoted(table)));
    while (st.step()) {
        columns << quoted(st.column(1).toString());
        if (st.columnInt(5) > 0) {
            ++keyColumns;
            integerKey = st.column(2).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        }
    }
    if (!(keyColumns == 1 && integerKey))
        columns.prepend(QStringLiteral("rowid"));
    return columns.join(QStringLiteral(", "));
}

// Puts back the rows of the tables whose digests differ between now and the backup.
// The sequences of the AUTOINCREMENT keys go back last: putting rows back into such a table
// writes its sequence (even when there are none to put back), which must end as the backup's.
void putBack(sqlite3* db, const Digests& now, const Digests& before)
{
    const QString sequences = QStringLiteral("sqlite_sequence");
    QStringList tables;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (!it.key().isEmpty() && now.value(it.key()) != it.value() && it.key() != sequences)
            tables << it.key();
    if (before.contains(sequences))
        tables << sequences;
    for (const QString& name : tables) {
        const QString table = quoted(name);
        const QString columns = copyColumns(db, name);
        sql::exec(db, QStringLiteral("DELETE FROM main.%1").arg(table));
        sql::exec(db, QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM %3.%1").arg(table, columns, Source));
    }
}

// Runs work with the backup attached as "orv_undo" and the connection's triggers off (the rows
// put back are exactly the backup's; a trigger would change them as they go in).
template <class Work>
void withBackupAttached(sqlite3* db, const QString& backupPath, Work work)
{
    sql::Statement attach(db, QStringLiteral("ATTACH DATABASE ? AS %1").arg(Source));
    attach.bind(1, backupPath);
    attach.step();
    attach.finalize();
    int triggers = 1;
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &triggers);
    const auto restore = [db, triggers] {
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, triggers, nullptr);
        sqlite3_exec(db, "DETACH DATABASE orv_undo", nullptr, nullptr, nullptr);
    };
    try {
        work();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

QString quotedWhat(const Step& step)
{
    return QStringLiteral("\u201C%1\u201D").arg(step.what);
}

}  // namespace

Digests digests(Database& db)
{
    return digestsOf(handleOf(db), QStringLiteral("main"));
}

void remember(Database& db, const QString& backupPath, const QString& what)
{
    try {
        QJsonObject o;
        o.insert(QStringLiteral("what"), what);
        o.insert(QStringLiteral("backup"), QFileInfo(backupPath).fileName());
        o.insert(QStringLiteral("made"), QDateTime::currentDateTime().toString(Qt::ISODate));
        o.insert(QStringLiteral("after"), toJson(digests(db)));
        QSaveFile file(recordPath(db.path()));
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(o).toJson()) < 0 || !file.commit())
            qWarning("Orvane: what undoes \"%s\" could not be kept: %s", qPrintable(what),
                     qPrintable(file.errorString()));
    } catch (const StoreError& e) {
        qWarning("Orvane: what undoes \"%s\" could not be kept: %s", qPrintable(what),
                 qPrintable(e.description()));
    }
}

std::optional<Step> last(const QString& databasePath)
{
    QFile file(recordPath(databasePath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(file.read(1 << 20)).object();
    Step step;
    step.what = o.value(QStringLiteral("what")).toString();
    const QString name = o.value(QStringLiteral("backup")).toString();
    if (step.what.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')))
        return std::nullopt;
    step.backupPath = backup::folderFor(databasePath) + QLatin1Char('/') + name;
    step.made = QDateTime::fromString(o.value(QStringLiteral("made")).toString(), Qt::ISODate);
    step.after = fromJson(o.value(QStringLiteral("after")).toObject());
    return step;
}

void forget(const QString& databasePath)
{
    QFile::remove(recordPath(databasePath));
}

QString undoLast(Database& db)
{
    const std::optional<Step> step = last(db.path());
    if (!step)
        refuse(QStringLiteral("There is nothing to undo."));
    if (db.impl().depth > 0)
        refuse(QStringLiteral("%1 cannot be undone while another change is being saved.").arg(quotedWhat(*step)));
    if (digests(db) != step->after)
        refuse(QStringLiteral("The wedding has changed since %1, so it cannot be undone: undoing it now would "
                              "also take back what was changed after it. Nothing was changed.")
                   .arg(quotedWhat(*step)));
    if (!QFileInfo(step->backupPath).isFile())
        refuse(QStringLiteral("The copy of the wedding from before %1 is no longer in the backups folder, so it "
                              "cannot be undone. Nothing was changed.")
                   .arg(quotedWhat(*step)));
    backup::make(db.path(), backup::Reason::Undo);
    sqlite3* handle = handleOf(db);
    withBackupAttached(handle, step->backupPath, [&] {
        const Digests before = digestsOf(handle, QString::fromLatin1(Source));
        if (before.value(QString::fromLatin1(SchemaKey)) != step->after.value(QString::fromLatin1(SchemaKey)))
            refuse(QStringLiteral("The copy of the wedding from before %1 is of another layout, so it cannot be "
                                  "undone. Nothing was changed.")
                       .arg(quotedWhat(*step)));
        sql::exec(handle, QStringLiteral("BEGIN IMMEDIATE"));
        try {
            putBack(handle, step->after, before);
            if (digestsOf(handle, QStringLiteral("main")) != before)
                refuse(QStringLiteral("%1 could not be undone exactly, so nothing was changed.")
                           .arg(quotedWhat(*step)));
            sql::exec(handle, QStringLiteral("COMMIT"));
        } catch (...) {
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    });
    db.impl().changed();
    forget(db.path());
    return step->what;
}

}  // namespace store::undo
