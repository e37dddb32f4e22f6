#include "seating/SeatingActions.h"

#include "controls/Dialogs.h"
#include "seating/MemberSeats.h"
#include "seating/SeatRules.h"
#include "seating/SeaterParts.h"
#include "store/Store.h"

namespace seating {

namespace {

using controls::mb::OKOnly;

struct Rows {
    std::unique_ptr<store::Recordset> guests, tables;
};

Rows openRows(store::Database& db)
{
    return {db.openRecordset(QStringLiteral("Guests"), store::RecordsetType::Dynaset),
            db.openRecordset(QStringLiteral("Tables"), store::RecordsetType::Dynaset)};
}

QString displayText(const store::Recordset& guest)
{
    return partyDisplayText(guest.value(QStringLiteral("Prefix")), guest.value(QStringLiteral("FirstName")),
                            guest.value(QStringLiteral("LastName")))
        .value_or(QString());
}

// Positions the table set on a table; false when there is no such table.
bool findTable(store::Recordset& tables, TableKey table)
{
    tables.findFirst(QStringLiteral("TableId = ?"), {table});
    return !tables.noMatch();
}

void addAssigned(store::Recordset& tables, int delta)
{
    tables.edit();
    tables.setValue(QStringLiteral("assigned"), countOf(tables.value(QStringLiteral("assigned"))) + delta);
    tables.update();
}

// Asks how many people take seats; 0 when the user gave up.
int askPeople(const QString& party, const QString& tableName, int size, int free, QWidget* parent)
{
    using Kind = SeatAnswer::Kind;
    const QString prompt = seatPromptText(party, free);
    const QString title = seatPromptTitle(tableName);
    for (;;) {
        const QString answer = controls::InputBox(prompt, title, QString::number(size), nullptr, parent);
        const SeatAnswer read = readSeatAnswer(answer, free);
        switch (read.kind) {
            case Kind::Cancelled:
                return 0;
            case Kind::Zero:
                controls::MsgBox(
                    QStringLiteral("You have to specify the amount of people in the group of ") + party,
                    OKOnly, QStringLiteral("How many  people?"), parent);
                break;
            case Kind::TooMany:
                controls::Beep();
                controls::MsgBox(QStringLiteral("You only have ") + QString::number(free) +
                                     QStringLiteral(" seats available at this table"),
                                 OKOnly, QStringLiteral("Not Enough Room"), parent);
                break;
            case Kind::Accepted:
                return read.people;
            case Kind::AskAgain:
                break;
        }
    }
}

}  // namespace

bool seatParty(store::Database& db, PartyKey party, TableKey table, QWidget* parent)
{
    Rows rows = openRows(db);
    if (!rows.guests->hasBookmark(party) || !findTable(*rows.tables, table))
        throw store::StoreError(store::err::NoCurrentRecord, QStringLiteral("No current record."));
    rows.guests->setBookmark(party);
    const TableKey from = rows.guests->value(QStringLiteral("tableid")).toLongLong();
    if (from == table)
        return false;
    const int size = countOf(rows.guests->value(QStringLiteral("Invited")));
    const int free = freeSeats(countOf(rows.tables->value(QStringLiteral("max"))),
                               countOf(rows.tables->value(QStringLiteral("assigned"))));
    if (free == 0) {
        controls::MsgBox(QStringLiteral("You have no more seats available at this table."), OKOnly,
                         QStringLiteral("Can't Add Guest"), parent);
        return false;
    }
    const int people =
        askPeople(displayText(*rows.guests), rows.tables->value(QStringLiteral("tablename")).toString(), size,
                  free, parent);
    if (people == 0)
        return false;

    SeatingChange change;
    const int seatedBefore = countOf(rows.guests->value(QStringLiteral("tabletot")));
    rows.guests->edit();
    rows.guests->setValue(QStringLiteral("TableId"), table);
    rows.guests->setValue(QStringLiteral("tabletot"), people);
    rows.guests->update();
    addAssigned(*rows.tables, people);
    if (from != 0 && findTable(*rows.tables, from))
        addAssigned(*rows.tables, -seatedBefore);
    giveSeats(db, {table});
    change.commit();
    return true;
}

bool unseatParty(store::Database& db, PartyKey party)
{
    Rows rows = openRows(db);
    if (!rows.guests->hasBookmark(party))
        return false;
    rows.guests->setBookmark(party);
    const TableKey table = rows.guests->value(QStringLiteral("tableid")).toLongLong();
    if (table == 0)
        return false;
    SeatingChange change;
    rows.guests->edit();
    rows.guests->setValue(QStringLiteral("TableId"), 0);
    rows.guests->update();
    if (findTable(*rows.tables, table))
        addAssigned(*rows.tables, -countOf(rows.guests->value(QStringLiteral("tabletot"))));
    change.commit();
    return true;
}

bool unseatPartyAsking(store::Database& db, PartyKey party, QWidget* parent)
{
    Rows rows = openRows(db);
    if (!rows.guests->hasBookmark(party))
        return false;
    rows.guests->setBookmark(party);
    const TableKey table = rows.guests->value(QStringLiteral("tableid")).toLongLong();
    if (table == 0 || !findTable(*rows.tables, table))
        return unseatParty(db, party);
    const QString question =
        QStringLiteral("Remove %1 from %2?")
            .arg(displayText(*rows.guests), rows.tables->value(QStringLiteral("tablename")).toString());
    if (controls::MsgBox(question, controls::mb::YesNo | controls::mb::Question,
                         QStringLiteral("Remove Guest"), parent) != controls::mb::Yes)
        return false;
    return unseatParty(db, party);
}

}  // namespace seating
