#include "exchange/MappingMemory.h"

#include <QDateTime>

namespace exchange {

namespace {

const QString Table = QStringLiteral("ImportMappings");

bool hasTable(store::Database& database)
{
    return database.tableNames().contains(Table, Qt::CaseInsensitive);
}

QString headerKey(const QStringList& headers)
{
    return headers.join(QLatin1Char('\t'));
}

}  // namespace

std::optional<std::vector<GuestField>> rememberedMapping(store::Database& database,
                                                         const QStringList& headers)
{
    if (headers.isEmpty() || !hasTable(database))
        return std::nullopt;
    std::unique_ptr<store::Recordset> set = database.openRecordset(Table, store::RecordsetType::Snapshot);
    set->findFirst(QStringLiteral("[Headers] = ?"), {headerKey(headers)});
    if (set->noMatch())
        return std::nullopt;
    const QStringList keys = set->value(QStringLiteral("Fields")).toString().split(QLatin1Char('\t'));
    if (keys.size() != headers.size())
        return std::nullopt;
    std::vector<GuestField> mapping;
    for (const QString& key : keys)
        mapping.push_back(key.isEmpty() ? GuestField::NotImported
                                        : fieldByKey(key).value_or(GuestField::NotImported));
    return mapping;
}

void rememberMapping(store::Database& database, const QStringList& headers,
                     const std::vector<GuestField>& mapping)
{
    if (headers.isEmpty() || !hasTable(database))
        return;
    QStringList keys;
    for (GuestField f : mapping)
        keys << (f == GuestField::NotImported ? QString() : fieldInfo(f).key);
    database.execute(QStringLiteral("DELETE FROM ImportMappings WHERE Headers = ?"), {headerKey(headers)});
    database.execute(QStringLiteral("INSERT INTO ImportMappings (Headers, Fields, Saved) VALUES (?, ?, ?)"),
                     {headerKey(headers), keys.join(QLatin1Char('\t')), QDateTime::currentDateTime()});
}

}  // namespace exchange
