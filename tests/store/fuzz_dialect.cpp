// libFuzzer target for the dialect translator: statements, conditions and sorts.
//
// Any input may be refused with a syntax error; nothing may crash, and whatever the
// translator accepts must be exactly one SQLite statement (a condition or sort placed in
// its slot of a SELECT must not reach past it).
#include "store/Dialect.h"
#include "store/StoreError.h"

#include <sqlite3.h>

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

sqlite3* database()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        sqlite3_exec(d,
                     "CREATE TABLE Guests (LastName TEXT COLLATE NOCASE, FirstName TEXT, engamt CURRENCY, "
                     "printit YESNO, tableid NUMBER);",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

store::dialect::Kind resolve(const QStringList&, const QString&, const QString& name)
{
    if (name.compare(QLatin1String("engamt"), Qt::CaseInsensitive) == 0)
        return store::dialect::Kind::Currency;
    if (name.compare(QLatin1String("LastName"), Qt::CaseInsensitive) == 0)
        return store::dialect::Kind::Text;
    return store::dialect::Kind::Unknown;
}

// The SQL must compile to one statement with nothing after it (or not compile at all).
void checkSingleStatement(const QString& sql)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(database(), utf8.constData(), int(utf8.size()), &st, &tail) == SQLITE_OK && tail) {
        while (*tail == ' ' || *tail == ';')
            ++tail;
        if (*tail != '\0')
            std::abort();  // the translation let a second statement through
    }
    sqlite3_finalize(st);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int mode = data[0] % 3;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), int(size - 1));
    try {
        switch (mode) {
            case 0:
                checkSingleStatement(store::dialect::translateStatement(text, resolve).sql);
                break;
            case 1:
                checkSingleStatement("SELECT rowid FROM Guests WHERE " +
                                     store::dialect::translateCondition(text, resolve));
                break;
            default: {
                const QString sort = store::dialect::translateSort(text, resolve);
                if (!sort.isEmpty())
                    checkSingleStatement("SELECT rowid FROM Guests ORDER BY " + sort);
                break;
            }
        }
    } catch (const store::StoreError& e) {
        if (e.number() != store::err::SyntaxError)
            std::abort();
    }
    return 0;
}
