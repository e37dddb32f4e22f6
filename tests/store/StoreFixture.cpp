#include "StoreFixture.h"
#include "store/Handle.h"

#include <sqlite3.h>

#include <QFile>

#include <stdexcept>

namespace storetest {

const char* const kSchema = R"sql(
CREATE TABLE Guests (
  Prefix TEXT(20) COLLATE NOCASE, FirstName TEXT(20) COLLATE NOCASE, LastName TEXT(20) COLLATE NOCASE,
  Address TEXT(40) COLLATE NOCASE, City TEXT(30) COLLATE NOCASE, guestof TEXT(10) COLLATE NOCASE,
  InvCeremony YESNO DEFAULT 0, InvReception YESNO DEFAULT 0, ShowerGuest YESNO DEFAULT 0,
  InvRehearsal YESNO DEFAULT 0, Invited NUMBER DEFAULT 0, Confirmed YESNO DEFAULT 0, engamt CURRENCY,
  wedlbl TEXT(100) COLLATE NOCASE, showlbl TEXT(100) COLLATE NOCASE, tableid NUMBER DEFAULT 0,
  tabletot NUMBER DEFAULT 0, printit YESNO DEFAULT 0, Notes MEMO COLLATE NOCASE);
CREATE INDEX LastName ON Guests(LastName, FirstName);
CREATE TABLE Tables (TableId INTEGER PRIMARY KEY AUTOINCREMENT, tablename TEXT(50) COLLATE NOCASE,
  tablenumber NUMBER, max NUMBER DEFAULT 0, assigned NUMBER DEFAULT 0);
CREATE TABLE CityList (City TEXT(30) COLLATE NOCASE NOT NULL UNIQUE);
CREATE TABLE Expenses (Description TEXT(50) COLLATE NOCASE, Amount CURRENCY, Quantity NUMBER,
  Total CURRENCY, Owing CURRENCY);
CREATE TABLE Checklist (CheckItem TEXT(100) COLLATE NOCASE, checktime NUMBER, DueDate DATETIME,
  Done YESNO DEFAULT 0, CheckDate DATETIME);
CREATE TABLE General (bridesname TEXT(50) COLLATE NOCASE, groomsname TEXT(50) COLLATE NOCASE, weddingdate DATETIME);
CREATE TABLE BudgetPlan (Item TEXT(50) COLLATE NOCASE);
CREATE TABLE StateList (State TEXT(30) COLLATE NOCASE);
CREATE TABLE Tips (tip MEMO COLLATE NOCASE);
CREATE TABLE Vendors (VendorName TEXT(50) COLLATE NOCASE);
CREATE VIEW sumGifts AS SELECT sum(engamt) AS "sum of engamt", count(*) AS "count of guests" FROM Guests;
CREATE VIEW sumGuestof AS SELECT guestof, count(*) AS "Count" FROM Guests GROUP BY guestof;
CREATE TABLE orv_columns (object TEXT, name TEXT, type TEXT);
INSERT INTO orv_columns VALUES ('sumGifts', 'sum of engamt', 'CURRENCY'), ('sumGifts', 'count of guests', 'NUMBER');
)sql";

static void check(sqlite3* db, int rc, const QString& sql)
{
    if (rc != SQLITE_OK)
        throw std::runtime_error(QStringLiteral("%1: %2").arg(sqlite3_errmsg(db), sql).toStdString());
}

void rawExec(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    check(db, sqlite3_open(QFile::encodeName(path).constData(), &db), path);
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    const std::string message = sqlite3_errmsg(db);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(message + ": " + sql.toStdString());
}

QString rawValue(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt* st = nullptr;
    QString result;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        result = text ? QString::fromUtf8(text) : QStringLiteral("<null>");
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

void createDatabase(const QString& path, const QString& sql)
{
    QFile::remove(path);
    rawExec(path, sql);
}

void StoreTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("wedding.mdb");
    createDatabase(path_, kSchema);
    db_ = &ws().openDatabase(path_);
}

void StoreTest::TearDown()
{
    ws().close();
}

qint64 StoreTest::addGuest(const QString& prefix, const QString& first, const QString& last, int tableId,
                           int invited)
{
    db().execute(
        "INSERT INTO Guests (Prefix, FirstName, LastName, tableid, Invited) VALUES (?, ?, ?, ?, ?)",
        {prefix.isNull() ? QVariant() : QVariant(prefix), first.isNull() ? QVariant() : QVariant(first),
         last.isNull() ? QVariant() : QVariant(last), tableId, invited});
    return sqlite3_last_insert_rowid(store::handleOf(db()));
}

}  // namespace storetest
