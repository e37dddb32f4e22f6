#include "store/Layout.h"

#include "store/Engine.h"
#include "store/LayoutSteps.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace store {

namespace {

// PLACEHOLDER until the shared backup of the open database lands in store/: a copy of the
// open file made with SQLite's online backup into the "backups" folder beside it.
QString backupBeforeUpgrade(Database& db, const QString& reason)
{
    const QFileInfo file(db.path());
    const QString folder = file.absolutePath() + QStringLiteral("/backups");
    if (!QDir().mkpath(folder))
        sql::raise(err::IoError, QStringLiteral("Could not create the backup folder '%1' (%2).")
                                     .arg(QDir::toNativeSeparators(folder), reason));
    const QString target = folder + QLatin1Char('/') + file.completeBaseName() +
                           QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss-zzz")) +
                           QLatin1Char('.') + file.suffix();
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(target.toUtf8().constData(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", db.handle(), "main");
        if (backup) {
            sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
        }
        rc = sqlite3_errcode(copy);
    }
    sqlite3_close(copy);
    if (rc != SQLITE_OK) {
        QFile::remove(target);
        sql::raise(err::IoError, QStringLiteral("Could not back up the wedding file before %1 (%2).")
                                     .arg(reason, QDir::toNativeSeparators(target)));
    }
    return target;
}

// The steps a file of this version still needs, as one text.
QString missingSteps(int fromVersion, QStringList& what)
{
    QString sqlText;
    for (const layout::Step& step : layout::steps()) {
        if (step.version <= fromVersion)
            continue;
        sqlText += QString::fromUtf8(step.sql);
        what << QString::fromUtf8(step.what);
    }
    return sqlText;
}

}  // namespace

int layoutVersion(Database& db)
{
    db.impl().checkOpen();
    sql::Statement st(db.handle(), QStringLiteral("PRAGMA user_version"));
    return st.step() ? int(st.columnInt(0)) : 0;
}

LayoutUpgrade upgradeLayout(Database& db)
{
    LayoutUpgrade result;
    result.fromVersion = result.toVersion = layoutVersion(db);
    const int latest = layout::latestVersion();
    if (result.fromVersion >= latest)
        return result;
    Database::Impl& impl = db.impl();
    if (impl.depth > 0)
        sql::raise(
            err::InvalidOperation,
            QStringLiteral("The wedding file cannot be brought up to date while a transaction is open."));

    QStringList what;
    const QString sqlText = missingSteps(result.fromVersion, what);
    const QString reason = QStringLiteral("adding %1").arg(what.join(QStringLiteral("; ")));
    result.backupPath = backupBeforeUpgrade(db, reason);

    impl.finishStatements();
    sql::exec(impl.db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        sql::exec(impl.db, sqlText);
        sql::exec(impl.db, QStringLiteral("PRAGMA user_version = %1").arg(latest));
        sql::exec(impl.db, QStringLiteral("COMMIT"));
    } catch (const StoreError& e) {
        if (!sqlite3_get_autocommit(impl.db))
            sqlite3_exec(impl.db, "ROLLBACK", nullptr, nullptr, nullptr);
        impl.schemas.clear();
        impl.changed();
        sql::raise(e.number(),
                   QStringLiteral("The wedding file could not be brought up to date (%1): %2 "
                                  "The file is unchanged; a copy is in '%3'.")
                       .arg(reason, e.description(), QDir::toNativeSeparators(result.backupPath)));
    }
    impl.schemas.clear();
    impl.viewColumnTypes.reset();
    impl.changed();
    result.toVersion = latest;
    return result;
}

}  // namespace store
