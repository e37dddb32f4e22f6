#include "store/ReadQuery.h"

#include "store/Handle.h"
#include "store/Sqlite.h"

namespace store {

std::optional<DeclaredObject> findDeclared(const Database& db, const QString& name)
{
    sql::Statement find(handleOf(db), QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                           "AND name = ?1 COLLATE NOCASE "
                                           "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    find.bind(1, name);
    if (!find.step())
        return std::nullopt;
    DeclaredObject object{find.column(0).toString(), {}};
    find.reset();
    sql::Statement info(handleOf(db), QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"));
    info.bind(1, object.name);
    while (info.step())
        object.fields << sql::fieldInfoFromDeclared(info.column(0).toString(), info.column(1).toString());
    return object;
}

struct ReadQuery::Impl {
    sql::Statement statement;
};

ReadQuery::ReadQuery(const Database& db, const QString& sql, const QVariantList& params)
    : d(std::make_unique<Impl>(Impl{sql::Statement(handleOf(db), sql)}))
{
    if (!sqlite3_stmt_readonly(d->statement.get()))
        sql::raise(err::InvalidOperation,
                   QStringLiteral("Only reading is allowed here: the statement would change the database."));
    d->statement.bindAll(params);
}

ReadQuery::~ReadQuery() = default;

bool ReadQuery::next()
{
    return d->statement.step();
}

QVariant ReadQuery::value(int column, FieldType type) const
{
    return sql::toRead(d->statement.column(column), type);
}

}  // namespace store
