#include "tests/reports/WeddingFixture.h"

#include "reports/ReportEngine.h"
#include "store/Handle.h"

#include <sqlite3.h>

void WeddingFixture::SetUp()
{
    dir_ = std::make_unique<testsupport::ProgramDir>(true);
    db_ = &store::Workspace::defaultWorkspace().openDatabase(dir_->databasePath());
    ASSERT_GT(testsupport::loadSampleWedding(*db_), 40);
    sql("UPDATE General SET bridesname = 'Emma Collins', groomsname = 'Daniel Reyes'");
    sql("UPDATE Expenses SET Total = IFNULL(Amount, 0) * IFNULL(Quantity, 0)");
    sql("UPDATE Expenses SET Owing = Total - (IFNULL(Downpayment, 0) + IFNULL(Paid, 0))");
    sql("UPDATE Guests SET wedlbl = IFNULL(Prefix, '') || ' ' || IFNULL(FirstName, '') || ' ' || "
        "IFNULL(LastName, ''), showlbl = (CASE WHEN Prefix = 'Ms.' THEN 'Ms.' ELSE 'Mrs.' END) || ' ' || "
        "LastName");
    sql("UPDATE Checklist SET DueDate = datetime('2026-06-13', '-' || ((10 - checktime) * 9) || ' days') "
        "WHERE checktime BETWEEN 1 AND 9");
    sql("UPDATE Checklist SET Done = 1, CheckDate = datetime(DueDate, '-2 days') WHERE checktime <= 2");
}

void WeddingFixture::TearDown()
{
    store::Workspace::defaultWorkspace().close();
}

void WeddingFixture::sql(const QString& statement)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(store::handleOf(*db_), statement.toUtf8().constData(), nullptr, nullptr, &error);
    ASSERT_EQ(rc, SQLITE_OK) << (error ? error : "") << " in " << statement.toStdString();
}

QStringList WeddingFixture::texts(const QString& query)
{
    sqlite3_stmt* statement = nullptr;
    QStringList out;
    if (sqlite3_prepare_v2(store::handleOf(*db_), query.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(store::handleOf(*db_));
        return out;
    }
    while (sqlite3_step(statement) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return out;
}

qint64 WeddingFixture::number(const QString& query)
{
    return texts(query).value(0).toLongLong();
}

reports::ReportPages WeddingFixture::report(const QString& templateName, const QString& formula,
                                            const QString& detailFont)
{
    return reports::prepareReport(*db_, templatePath(templateName), formula, detailFont,
                                  QDate(2026, 5, 1));
}

QStringList allLines(const reports::ReportPages& pages)
{
    QStringList out;
    for (int i = 0; i < int(pages.pages.size()); ++i)
        out << pages.lines(i);
    return out;
}
