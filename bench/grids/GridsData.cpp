#include "GridsData.h"

#include "shell/Program.h"
#include "store/Store.h"

#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace gridsbench {

namespace {

void run(sqlite3* db, const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

}  // namespace

GridsData::GridsData(int tasks, int expenses)
{
    const QString path = dir_.filePath(QStringLiteral("wedding.mdb"));
    if (!QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path))
        throw std::runtime_error("cannot copy the delivered database; build mkdb_run first");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    run(db, QStringLiteral("UPDATE General SET weddingdate = datetime('now', '+120 days', 'start of day')"));
    // Task texts and sample expenses are taken round-robin from the delivered rows.
    run(db, QStringLiteral(
                "CREATE TEMP TABLE t AS SELECT CheckItem FROM Checklist;"
                "DELETE FROM Checklist;"
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1 - 1) "
                "INSERT INTO Checklist (CheckItem, checktime, DueDate, Done, CheckDate) "
                "SELECT (SELECT CheckItem FROM t WHERE rowid = 1 + i % (SELECT count(*) FROM t)), 1 + i % 9, "
                "datetime('now', '+' || (i % 120) || ' days', 'start of day'), i % 3 = 0, "
                "CASE WHEN i % 3 = 0 THEN datetime('now', '-' || (i % 20) || ' days') END FROM n;")
                .arg(tasks));
    run(db, QStringLiteral("CREATE TEMP TABLE b AS SELECT Description FROM BudgetPlan"));
    run(db, QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1 - 1), "
                "q(i, unit, qty) AS (SELECT i, 125000 + (i % 40) * 112500, 1 + i % 6 FROM n) "
                "INSERT INTO Expenses (Description, Amount, Quantity, Downpayment, Paid, Total, Owing) "
                "SELECT (SELECT Description FROM b WHERE rowid = 1 + i % (SELECT count(*) FROM b)), "
                "unit, qty, unit * qty / 4, 250000 * (i % 3), unit * qty, unit * qty - unit * qty / 4 - "
                "250000 * (i % 3) "
                "FROM q;")
                .arg(expenses));
    sqlite3_close(db);
    store::Workspace::defaultWorkspace().openDatabase(path);
    shell::program().DatabasePath = path;
}

GridsData::~GridsData()
{
    store::Workspace::defaultWorkspace().close();
}

}  // namespace gridsbench
