// Read-only access for code that writes its own SELECT over the declared tables and saved
// queries (the report engine): the declaration of a table or query, and statements that
// may only read, whose values come back as the store reads them for a field's type.
//
// Both take the open database, so they serve the workspace's database and any other open
// file alike. Nothing done through them can change
// the file.
#pragma once

#include "store/Store.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace store {

// A table or saved query as the file declares it: its spelling and its fields in order.
struct DeclaredObject {
    QString name;
    QList<FieldInfo> fields;
};

// Finds a table or saved query without regard to case; nullopt when the file has none of
// that name. The engine's own tables (sqlite_*) are never found. Throws StoreError when
// the file cannot be read.
std::optional<DeclaredObject> findDeclared(const Database& db, const QString& name);

// One SELECT with its bound values ("?" placeholders, numbered in order). Throws
// StoreError when the text cannot be prepared, and InvalidOperation when the statement
// would change the file.
class ReadQuery {
public:
    ReadQuery(const Database& db, const QString& sql, const QVariantList& params = {});
    ~ReadQuery();
    ReadQuery(const ReadQuery&) = delete;
    ReadQuery& operator=(const ReadQuery&) = delete;

    // Steps to the next row: false after the last one. Throws StoreError on a failure.
    bool next();
    // The current row's value of a column, as a field of that type reads (Null: invalid).
    QVariant value(int column, FieldType type) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace store
