#include "reports/Catalog.h"

#include "store/Dialect.h"
#include "store/ReadQuery.h"

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

bool Catalog::load(const store::Database& db, const QString& name)
{
    if (table(name))
        return true;
    std::optional<store::DeclaredObject> declared;
    try {
        declared = store::findDeclared(db, name);
    } catch (const store::StoreError&) {
        return false;
    }
    if (!declared)
        return false;
    QList<CatalogField> fields;
    for (const store::FieldInfo& field : declared->fields)
        fields.append({field.name, field.type});
    addTable(declared->name, fields);
    return true;
}

QString quoteIdentifier(const QString& name)
{
    return store::dialect::quoteIdentifier(name);
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
