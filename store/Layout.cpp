#include "store/Layout.h"

#include "store/Backup.h"
#include "store/Engine.h"
#include "store/Handle.h"
#include "store/LayoutSteps.h"

#include <QDir>

namespace store {

namespace {

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
    sql::Statement st(handleOf(db), QStringLiteral("PRAGMA user_version"));
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
    result.backupPath = backup::make(db.path(), backup::Reason::Upgrade);

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
