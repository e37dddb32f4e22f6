// libFuzzer target for selection formulas. Any input either is refused with a
// ReportError or becomes a condition that SQLite prepares as a read-only statement with
// exactly one bound value per placeholder: formula text can never turn into SQL.
//
//   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14 -DORVANE_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_report_formula && build-fuzz/fuzz/fuzz_report_formula
#include "reports/Formula.h"
#include "reports/ReportError.h"
#include "store/Store.h"

#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    sqlite3* db = nullptr;
    std::unique_ptr<store::Database> wedding;  // the catalog reads through the store
    reports::Catalog catalog;
    Fixture()
    {
        const QString path = dir.filePath(QStringLiteral("formula.mdb"));
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_exec(
            db,
            "CREATE TABLE Guests (LastName TEXT(20), ShowerGuest YESNO, tableid NUMBER, printit YESNO);"
            "CREATE TABLE Expenses (Owing CURRENCY, CheckDate DATETIME);",
            nullptr, nullptr, nullptr);
        wedding = store::Database::openFile(path, store::OpenMode::ReadOnly);
        catalog.load(*wedding, "Guests");
        catalog.load(*wedding, "Expenses");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture fixture;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    reports::SqlCondition where;
    try {
        where = reports::Formula::parse(text).toSql(fixture.catalog, {"Guests", "Expenses"});
    } catch (const reports::ReportError& e) {
        if (e.description().isEmpty())
            std::abort();
        return 0;
    }
    if (where.sql.isEmpty())
        return 0;
    const QByteArray sql = ("SELECT 1 FROM Guests, Expenses WHERE " + where.sql).toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(fixture.db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        std::abort();
    if (!sqlite3_stmt_readonly(statement) || sqlite3_bind_parameter_count(statement) != where.params.size())
        std::abort();
    sqlite3_finalize(statement);
    return 0;
}
