#include "guests/GuestStore.h"
#include "store/Log.h"
#include "store/Transaction.h"

#include <algorithm>

namespace guests {

store::Bookmark addGuest(store::Database& database, const QString& firstName, const QString& lastName)
{
    std::unique_ptr<store::Recordset> guests =
        database.openRecordset(QStringLiteral("Guests"), store::RecordsetType::Table);
    guests->addNew();
    guests->setValue(QStringLiteral("FirstName"), firstName);
    guests->setValue(QStringLiteral("LastName"), lastName);
    guests->setValue(QStringLiteral("guestof"), QStringLiteral("Both"));
    guests->update();
    guests->setBookmark(guests->lastModified());
    const store::Bookmark mark = guests->bookmark();
    guests->close();
    return mark;
}

namespace {

qint64 numberOf(const QVariant& value)
{
    return value.isNull() ? 0 : value.toLongLong();
}

// Gives a removed party's seats back to its table (a table that is gone is passed over).
void releaseSeats(store::Database& database, qint64 tableId, qint64 seats)
{
    std::unique_ptr<store::Recordset> tables = database.openRecordset(QStringLiteral("Tables"));
    tables->findFirst(QStringLiteral("TableId = ?"), {tableId});
    if (!tables->noMatch()) {
        const qint64 assigned = numberOf(tables->value(QStringLiteral("assigned")));
        tables->edit();
        tables->setValue(QStringLiteral("assigned"), std::max<qint64>(0, assigned - seats));
        tables->update();
    }
    tables->close();
}

}  // namespace

void removeGuest(store::Recordset& guests)
{
    const qint64 tableId = numberOf(guests.value(QStringLiteral("tableid")));
    const qint64 seats = numberOf(guests.value(QStringLiteral("tabletot")));
    store::Transaction change;
    if (tableId != 0 && seats > 0)
        releaseSeats(guests.database(), tableId, seats);
    guests.deleteRecord();
    change.commit();
}

}  // namespace guests
