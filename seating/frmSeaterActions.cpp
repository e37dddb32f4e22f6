// The seating manager's actions: adding, changing, clearing and deleting tables, and
// seating a party at the current table or taking it off again.
#include "seating/frmSeater.h"

#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "seating/SeatRules.h"
#include "seating/SeaterParts.h"
#include "seating/SeatingActions.h"
#include "seating/TableActions.h"
#include "seating/TableEditState.h"
#include "seating/frmTables.h"
#include "shell/Program.h"
#include "store/Backup.h"
#include "store/Log.h"
#include "store/Store.h"
#include "store/Undo.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using controls::mb::OKOnly;
using seating::countOf;
using seating::displayTextOf;
using seating::SeatingChange;
using seating::selectedPartyKey;

namespace {

const QString CantAddGuest = QStringLiteral("Can't Add Guest");

// A backup before a table is cleared, so that Undo can take the clear back; without one the table
// is cleared all the same (it is the user's own small change) and there is nothing to undo.
QString keepCopyForUndo(store::Database& db)
{
    try {
        return store::backup::make(db.path(), store::backup::Reason::Change);
    } catch (const store::StoreError& e) {
        qWarning("Orvane: no backup before clearing a table: %s", qPrintable(e.description()));
        return {};
    }
}

}  // namespace

void frmSeater::selectTable(const QVariant& tableId)
{
    if (!Data1->findFirst(QStringLiteral("[TableId] = ?"), {tableId}))
        return;
    DBList1->selectBoundValue(tableId);
}

// The table list shows the table the user works on: the table set moves to the entry
// selected there (the occupants follow). False when no table is shown selected.
bool frmSeater::followTableSelection()
{
    const auto shown = DBList1->selectedBookmark();
    if (!shown)
        return false;
    if (Data1->bookmark() != shown)
        DBList1_Click();
    return Data1->bookmark() == shown;
}

void frmSeater::Command1_Click()
{
    try {
        if (seating::runTableEditor(Data1, seating::AddTableMode, {}, this)) {
            Data1->refresh();
            Data1->moveLast();
            DBList1->selectBoundValue(Data1->recordset()->value(QStringLiteral("TableId")));
        }
        DBList1_Click();
    } catch (const store::StoreError&) {
        seating::saySelectTableFirst(this);
    }
}

void frmSeater::Command4_Click()
{
    try {
        store::Recordset* tables = Data1->recordset();
        if (!tables || !followTableSelection())
            throw store::StoreError(store::err::ObjectNotSet, QStringLiteral("Object variable not set."));
        const QVariant table = tables->value(QStringLiteral("TableId"));
        seating::runTableEditor(Data1, seating::EditTableMode, table, this);
        Data1->refresh();
        selectTable(table);
        Refresh_Tables();
        DBList1_Click();
    } catch (const store::StoreError&) {
        seating::saySelectTableFirst(this);
    }
}

// Returns every party seated at the selected table to the unassigned ones.
void frmSeater::clearOccupants()
{
    if (!TableOccupants)
        return;
    TableOccupants->requery();
    if (TableOccupants->bof() && TableOccupants->eof())
        return;
    TableOccupants->moveFirst();
    while (!TableOccupants->eof()) {
        TableOccupants->edit();
        TableOccupants->setValue(QStringLiteral("TableId"), 0);
        TableOccupants->setValue(QStringLiteral("tabletot"), 0);
        TableOccupants->update();
        TableOccupants->moveNext();
    }
}

void frmSeater::Command3_Click()
{
    try {
        store::Recordset* tables = Data1->recordset();
        if (!tables || Data1->recordCount() == 0)
            return;
        if (!followTableSelection()) {
            seating::saySelectTableFirst(this);
            return;
        }
        if (Data1->recordCount() > 0) {
            seating::deleteTable(shell::database(), tables->value(QStringLiteral("TableId")).toLongLong());
            Data1->refresh();
            Refresh_All();
            Refresh_Tables();
        }
        if (Data1->recordCount() > 0) {
            Data1->moveFirst();
            auto& state = seating::tableEdit();
            state.CurrentTableId = Data1->recordset()->value(QStringLiteral("TableId"));
            selectTable(state.CurrentTableId);
            DBList1_Click();
        }
    } catch (const store::StoreError& e) {
        if (e.number() != store::err::ObjectNotSet)
            controls::MsgBox(e.description(), OKOnly, QStringLiteral("Orvane"), this);
    }
}

void frmSeater::Command2_Click()
{
    try {
        if (!TableOccupants || !Data1->recordset() || Data1->recordCount() == 0)
            return;
        if (!followTableSelection()) {
            seating::saySelectTableFirst(this);
            return;
        }
        TableOccupants->requery();
        if (TableOccupants->bof() && TableOccupants->eof()) {
            controls::MsgBox(QStringLiteral("There are no Guest Groups to remove from this table."), OKOnly,
                             QStringLiteral("Can't Clear Table"), this);
            return;
        }
        const QString table = Data1->recordset()->value(QStringLiteral("tablename")).toString().trimmed();
        const QString before = keepCopyForUndo(shell::database());
        SeatingChange change;
        clearOccupants();
        writeAssigned(0);
        change.commit();
        if (!before.isEmpty())
            store::undo::remember(shell::database(), before,
                                  table.isEmpty() ? QStringLiteral("Clear a table")
                                                  : QStringLiteral("Clear the table %1").arg(table));
        showTableAgain();
        Refresh_All();
        Refresh_Tables();
        DBList1_Click();
    } catch (const store::StoreError& ignored) {
        store::logIgnored("clearing the seating", ignored);
        // Clearing stops at the first failure; what was done stays.
    }
}

void frmSeater::writeAssigned(int assigned)
{
    store::Recordset* tables = Data1->recordset();
    if (!tables)
        throw store::StoreError(store::err::ObjectNotSet, QStringLiteral("Object variable not set."));
    tables->edit();
    tables->setValue(QStringLiteral("assigned"), assigned);
    tables->update();
}

// After a table row was written in code: the table list follows, on the same table.
void frmSeater::showTableAgain()
{
    const auto current = Data1->bookmark();
    Data1->resync();
    if (current)
        DBList1->selectBookmark(*current);
}

// ---- parties -----------------------------------------------------------------------------------

void frmSeater::List1_Click()
{
    const auto key = selectedPartyKey(List1);
    if (!key || !UnassignedParties || !UnassignedParties->hasBookmark(*key))
        return;
    try {
        UnassignedParties->setBookmark(*key);
        const int people = countOf(UnassignedParties->value(QStringLiteral("Invited")));
        Label5->setText(QString::number(people));
        Label4->setText(seating::partySizeWord(people));
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reading the chosen party's size", ignored);
    }
}

void frmSeater::List2_Click()
{
    List2->clearSelection();
    List2->setCurrentItem(nullptr);
}

void frmSeater::Command5_Click()
{
    try {
        // The party and the table are the ones the lists show selected.
        store::Recordset* tables = Data1->recordset();
        const auto partyKey = selectedPartyKey(List1);
        if (!UnassignedParties || !tables || !partyKey || !UnassignedParties->hasBookmark(*partyKey) ||
            !followTableSelection())
            throw store::StoreError(store::err::NoCurrentRecord, QStringLiteral("No current record."));
        const qint64 table = tables->value(QStringLiteral("TableId")).toLongLong();
        if (!seating::seatParty(shell::database(), *partyKey, table, this))
            return;
        showTableAgain();
        Refresh_All();
        Refresh_Tables();
    } catch (const store::StoreError& e) {
        if (e.number() == store::err::NoCurrentRecord)
            controls::MsgBox(
                QStringLiteral("You have to select a guest group AND a table to add this guest group to."),
                OKOnly, CantAddGuest, this);
        else
            showError(e);
    }
}

void frmSeater::Command6_Click()
{
    const auto key = selectedPartyKey(List3);
    if (!key) {
        controls::MsgBox(QStringLiteral("Select a guest to remove by clicking on the list to the right"),
                         OKOnly, QStringLiteral("Remove Guest"), this);
        return;
    }
    try {
        followTableSelection();
        store::Recordset* tables = Data1->recordset();
        if (!AssignedParties || !tables || !AssignedParties->hasBookmark(*key))
            return;
        AssignedParties->setBookmark(*key);
        // Only a party seated at the current table is taken off it.
        if (AssignedParties->value(QStringLiteral("tableid")).toLongLong() !=
            tables->value(QStringLiteral("TableId")).toLongLong())
            return;
        if (!seating::unseatParty(shell::database(), *key))
            return;
        showTableAgain();
        Refresh_All();
        Refresh_Tables();
    } catch (const store::StoreError& e) {
        if (e.number() != store::err::NoCurrentRecord)
            showError(e);
    }
}
