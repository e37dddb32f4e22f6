#include "tests/schema/SqliteDb.h"

#include <sqlite3.h>

#include <stdexcept>

namespace schematest {

namespace {

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    Statement(sqlite3* db, const QString& sql)
    {
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql.toStdString());
    }
    ~Statement() { sqlite3_finalize(stmt); }
};

QVariant columnValue(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt, i));
        case SQLITE_NULL:
            return QVariant();
        default:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
    }
}

}  // namespace

SqliteDb::SqliteDb(const QString& path)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path.toStdString() + ": " + message);
    }
}

SqliteDb::~SqliteDb()
{
    sqlite3_close(db_);
}

void SqliteDb::exec(const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "error";
        sqlite3_free(message);
        throw std::runtime_error(text + " in: " + sql.toStdString());
    }
}

bool SqliteDb::tryExec(const QString& sql)
{
    return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::vector<QVariantList> SqliteDb::rows(const QString& sql)
{
    Statement s(db_, sql);
    std::vector<QVariantList> result;
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(s.stmt); ++i)
            row << columnValue(s.stmt, i);
        result.push_back(row);
    }
    if (rc != SQLITE_DONE)
        throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql.toStdString());
    return result;
}

QVariant SqliteDb::scalar(const QString& sql)
{
    const auto result = rows(sql);
    return result.empty() ? QVariant() : result.front().value(0);
}

QStringList SqliteDb::columnNames(const QString& sql)
{
    Statement s(db_, sql);
    QStringList names;
    for (int i = 0; i < sqlite3_column_count(s.stmt); ++i)
        names << QString::fromUtf8(sqlite3_column_name(s.stmt, i));
    return names;
}

QStringList SqliteDb::declaredTypes(const QString& sql)
{
    Statement s(db_, sql);
    QStringList types;
    for (int i = 0; i < sqlite3_column_count(s.stmt); ++i) {
        const char* type = sqlite3_column_decltype(s.stmt, i);
        types << (type ? QString::fromUtf8(type) : QString());
    }
    return types;
}

}  // namespace schematest
