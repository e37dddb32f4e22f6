// A thin sqlite3 connection for checking the delivered database directly, without the
// store in between. Failures throw std::runtime_error with SQLite's message.
#pragma once

#include "tests/support/TestSupport.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <ostream>
#include <vector>

// Readable values in test failure messages.
inline void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << (value.isNull() ? std::string("Null") : value.toString().toStdString());
}

struct sqlite3;

namespace schematest {

class SqliteDb {
public:
    explicit SqliteDb(const QString& path);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    void exec(const QString& sql);
    // exec() that reports failure instead of throwing.
    bool tryExec(const QString& sql);
    std::vector<QVariantList> rows(const QString& sql);
    QVariant scalar(const QString& sql);  // first column of the first row; invalid if none
    QStringList columnNames(const QString& sql);
    // Declared type of each result column, "" where SQLite knows none.
    QStringList declaredTypes(const QString& sql);
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// A copy of the freshly built delivered database, opened for the length of a test.
class DeliveredCopy {
public:
    DeliveredCopy() : db_(dir_.databasePath()) {}
    SqliteDb& db() { return db_; }

private:
    testsupport::ProgramDir dir_;
    SqliteDb db_;
};

}  // namespace schematest
