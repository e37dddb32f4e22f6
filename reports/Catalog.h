// The tables and saved queries a report may read, with the names and types of their
// fields, as the database declares them. Names are found without regard to case and
// always come back spelled as declared.
#pragma once

#include "store/Store.h"

#include <QList>
#include <QString>

#include <vector>

namespace reports {

struct CatalogField {
    QString name;
    store::FieldType type = store::FieldType::Unknown;
};

struct CatalogTable {
    QString name;
    QList<CatalogField> fields;
    const CatalogField* field(const QString& name) const;  // null when unknown
};

// A field named in a template or formula, resolved against the catalog.
struct FieldRef {
    QString table;
    QString field;
    store::FieldType type = store::FieldType::Unknown;
    bool operator==(const FieldRef& o) const
    {
        return table.compare(o.table, Qt::CaseInsensitive) == 0 &&
               field.compare(o.field, Qt::CaseInsensitive) == 0;
    }
};

class Catalog {
public:
    void addTable(const QString& name, const QList<CatalogField>& fields);
    const CatalogTable* table(const QString& name) const;  // null when unknown

    // Adds one table or saved query of the database (read through its declaration; db is
    // the store's handle); returns false when the database has none of that name.
    bool load(const store::Database& db, const QString& name);

private:
    std::vector<CatalogTable> tables_;
};

// A field as written in a formula or a template: {Table.Field}.
struct FieldName {
    QString table;
    QString field;
    QString text() const { return '{' + table + '.' + field + '}'; }
};

// Reads the text between the braces of {Table.Field}. Names hold letters, digits,
// underscores and blanks. Returns "" when it is sound, else what is wrong.
QString readFieldName(const QString& inside, FieldName* out);

// Resolves a field against the catalog, allowing only the tables in `tables`.
// Returns "" when found (and fills out), else what is wrong.
QString resolveField(const Catalog& catalog, const QStringList& tables, const FieldName& name, FieldRef* out);

// A name quoted as an SQL identifier ("Guests"."LastName").
QString quoteIdentifier(const QString& name);
QString qualifiedColumn(const FieldRef& field);

}  // namespace reports
