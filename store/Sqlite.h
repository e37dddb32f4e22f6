// The store's thin layer over the SQLite C API: prepared statements that reset themselves,
// the mapping of SQLite failures to store errors, and the conversion of values between the
// stored form and the Qt values the windows read and write.
#pragma once

#include "store/Store.h"

#include <sqlite3.h>

#include <QVariant>

namespace store::sql {

// Throws the store error that stands for an SQLite failure (rc) on db, in words: context
// names the operation ("opening F"), never a statement's SQL, which the user cannot act on.
[[noreturn]] void fail(sqlite3* db, int rc, const QString& context = {});
// Throws a StoreError after recording it as the workspace's last error.
[[noreturn]] void raise(int number, const QString& description);

// A prepared statement. Reset when a step loop ends (or on destruction), so that no
// statement stays in progress between calls.
class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;

    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }
    const QString& text() const { return sql_; }

    void bind(int index, const QVariant& storedValue);  // 1-based
    void bindAll(const QVariantList& values, int first = 1);
    bool step();  // true: a row; false: done (then reset). Throws on failure.
    void reset();
    void finalize();

    int columnCount() const;
    QVariant column(int index) const;  // the stored value as SQLite gives it
    qint64 columnInt(int index) const { return sqlite3_column_int64(stmt_, index); }
    bool isNull(int index) const { return sqlite3_column_type(stmt_, index) == SQLITE_NULL; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

// Runs a statement without results.
void exec(sqlite3* db, const QString& sql);

// Declared type text -> field type, size and auto number.
FieldInfo fieldInfoFromDeclared(const QString& name, const QString& declaredType);

// Stored value (as SQLite gives it) -> the value a window reads for a field of this type.
QVariant toRead(const QVariant& stored, FieldType type);
// A value a window writes -> the stored value. Throws 13 (type), 3163 (too long).
QVariant toStored(const QVariant& value, const FieldInfo& field);
// A value bound as a parameter of a condition or statement (no field known).
QVariant parameterValue(const QVariant& value);

}  // namespace store::sql
