#include "reports/Catalog.h"

#include <sqlite3.h>

namespace reports {

const CatalogField* CatalogTable::field(const QString& wanted) const
{
    for (const CatalogField& f : fields)
        if (f.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

void Catalog::addTable(const QString& name, const QList<CatalogField>& fields)
{
    tables_.push_back(CatalogTable{name, fields});
}

const CatalogTable* Catalog::table(const QString& wanted) const
{
    for (const CatalogTable& t : tables_)
        if (t.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

namespace {

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text) : QString();
}

// The declared spelling of a table or view, or "" when the database has none of that name.
QString declaredObjectName(sqlite3* db, const QString& name)
{
    sqlite3_stmt* statement = nullptr;
    const char* sql =
        "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE "
        "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'";
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return {};
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    QString found;
    if (sqlite3_step(statement) == SQLITE_ROW)
        found = columnText(statement, 0);
    sqlite3_finalize(statement);
    return found;
}

}  // namespace

bool Catalog::load(sqlite3* db, const QString& name)
{
    if (table(name))
        return true;
    const QString declared = declaredObjectName(db, name);
    if (declared.isEmpty())
        return false;
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = ("PRAGMA table_info(" + quoteIdentifier(declared) + ")").toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return false;
    QList<CatalogField> fields;
    while (sqlite3_step(statement) == SQLITE_ROW)
        fields.append({columnText(statement, 1), fieldTypeOfDeclaration(columnText(statement, 2))});
    sqlite3_finalize(statement);
    addTable(declared, fields);
    return true;
}

store::FieldType fieldTypeOfDeclaration(const QString& declaredType)
{
    const QString t = declaredType.trimmed().toUpper();
    if (t.startsWith("TEXT") || t.startsWith("VARCHAR") || t.startsWith("CHAR"))
        return store::FieldType::Text;
    if (t == "YESNO")
        return store::FieldType::YesNo;
    if (t == "CURRENCY")
        return store::FieldType::Currency;
    if (t == "DATETIME")
        return store::FieldType::DateTime;
    if (t == "NUMBER" || t.startsWith("INT"))
        return store::FieldType::Number;
    return store::FieldType::Unknown;
}

QString quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QString qualifiedColumn(const FieldRef& field)
{
    return quoteIdentifier(field.table) + '.' + quoteIdentifier(field.field);
}

}  // namespace reports

namespace reports {

namespace {

bool isNameCharacter(QChar c)
{
    return (c.isLetterOrNumber() && c.unicode() < 128) || c == '_' || c == ' ';
}

bool isSoundName(const QString& name)
{
    if (name.isEmpty() || name.size() > 64)
        return false;
    for (QChar c : name)
        if (!isNameCharacter(c))
            return false;
    return true;
}

}  // namespace

QString readFieldName(const QString& inside, FieldName* out)
{
    const int dot = inside.indexOf('.');
    if (dot < 0 || inside.indexOf('.', dot + 1) >= 0)
        return QStringLiteral("a field is written {Table.Field}, with one point between the names");
    const QString table = inside.left(dot).trimmed();
    const QString field = inside.mid(dot + 1).trimmed();
    if (!isSoundName(table) || !isSoundName(field))
        return QStringLiteral("a table or field name holds only letters, digits, underscores and blanks");
    *out = FieldName{table, field};
    return {};
}

QString resolveField(const Catalog& catalog, const QStringList& tables, const FieldName& name, FieldRef* out)
{
    if (!tables.contains(name.table, Qt::CaseInsensitive))
        return QStringLiteral("%1 names the table %2, which this report does not read")
            .arg(name.text(), name.table);
    const CatalogTable* table = catalog.table(name.table);
    const CatalogField* field = table ? table->field(name.field) : nullptr;
    if (!field)
        return QStringLiteral("the field %1 does not exist").arg(name.text());
    *out = FieldRef{table->name, field->name, field->type};
    return {};
}

}  // namespace reports
