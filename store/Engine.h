// Internals of the store shared by its implementation files: the open connection with its
// schema cache, and the record set implementation.
#pragma once

#include "store/Dialect.h"
#include "store/Sqlite.h"
#include "store/Store.h"

#include <QHash>

#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

namespace store {

class RecordsetImpl;

// A table or view as declared.
struct ObjectSchema {
    QString name;
    bool isView = false;
    QList<FieldInfo> fields;
    QStringList defaults;  // default value expressions as declared ("" when none)
    QHash<QString, int> byLower;
    int field(const QString& name) const { return byLower.value(name.toLower(), -1); }
};

struct Database::Impl {
    Database* owner = nullptr;
    sqlite3* db = nullptr;
    QString path;
    int depth = 0;           // open transactions (the outermost plus savepoints)
    quint64 generation = 1;  // changes whenever stored rows may have changed
    std::set<RecordsetImpl*> sets;
    QHash<QString, std::shared_ptr<const ObjectSchema>> schemas;  // by lower-case name
    std::optional<QHash<QString, QString>> viewColumnTypes;       // "view\ncolumn" -> type
    // The schema look-ups, prepared once per connection (the engine prepares them again
    // itself after a change of the schema): making them is most of what a look-up costs.
    mutable sql::Statement findStatement;
    sql::Statement tableInfoStatement;

    ~Impl();
    void closeConnection();
    void checkOpen() const;
    void changed() { ++generation; }
    // Resets every statement of every record set (before a rollback, compaction or close).
    void finishStatements();

    // The exact name of a table or view, with whether it is a view; nullopt when unknown.
    std::optional<std::pair<QString, bool>> findObject(const QString& name) const;
    std::shared_ptr<const ObjectSchema> schema(const QString& name);  // 3078 when unknown
    QString viewColumnType(const QString& view, const QString& column);
    dialect::Resolver statementResolver();
};

// Converts a field type to the translator's kind.
dialect::Kind kindOf(FieldType type);

// Where a record set's rows come from, already translated.
struct RecordSource {
    QString text;             // as the caller gave it (source())
    QString table;            // the base table: rows are keyed by its rowid ("" for query sets)
    QString qualifier;        // quoted name that qualifies rowid in the statements
    QString selectList;       // for keyed sources
    QStringList selectItems;  // the select list item by item, when known ("" for "*")
    QString from;
    QString where;
    QString orderBy;
    QString sql;   // for query sources: the whole SELECT
    QString view;  // the saved query's name, for declared column types
    std::vector<dialect::Kind> resultKinds;
    bool keyed() const { return !table.isEmpty(); }
};

std::unique_ptr<Recordset> makeRecordset(Database& db, RecordSource source, RecordsetType type);

}  // namespace store
