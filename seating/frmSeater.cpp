#include "seating/frmSeater.h"

#include "seating/frmFloorPlan.h"

#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "seating/SeatRules.h"
#include "seating/SeaterParts.h"
#include "seating/TableEditState.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/OpenWindow.h"
#include "shell/Program.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using controls::mb::OKOnly;
using seating::countOf;
using seating::PartyKeyRole;

namespace {

// Every party set reads the same columns: whose guest the party is, its size, the parts
// of its name (the list text is built from them), its table and its people seated there.
const QString PartyColumns = QStringLiteral(
    "SELECT Guests.Guestof, Guests.Invited, Guests.Prefix, Guests.FirstName, Guests.LastName, "
    "Guests.tableid, Guests.tabletot From Guests ");
const QString UnassignedWhere =
    QStringLiteral("Where (((Guests.TableId) = 0))ORDER BY Guests.tableid, Guests.LastName;");
const QString AssignedWhere = QStringLiteral("Where (((Guests.TableId) > 0))ORDER BY Guests.LastName;");

// The parties at one table; the table's id is the one value.
const QString OccupantsSql =
    PartyColumns + QStringLiteral("Where (Guests.tableid = ?) ORDER BY Guests.tableid, Guests.LastName;");

const QString UnassignedTitle = QStringLiteral("Unassigned Guests ");
const QString AssignedTitle = QStringLiteral("Assigned Guests ");

}  // namespace

void showSeatingManager()
{
    frmSeater* window = frmSeater::instance();
    window->Form_Load();
    controls::ShowModal(window);
}

frmSeater* frmSeater::instance()
{
    static QPointer<frmSeater> window;
    if (!window)
        window = new frmSeater;
    return window;
}

frmSeater::frmSeater(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSeater"));
    setWindowTitle(QStringLiteral("Reception Seating Manager"));

    shell::setHelpContext(this, shell::HelpSeating);
    buildControls();
}

frmSeater::~frmSeater() = default;

// ---- loading and unloading ----------------------------------------------------------------

void frmSeater::Form_Load()
{
    if (loaded_)
        Form_Unload();
    loaded_ = true;
    shownSinceLoad_ = false;
    try {
        store::Database& db = shell::database();
        UnassignedParties = db.openRecordset(PartyColumns + UnassignedWhere, store::RecordsetType::Dynaset);
        AssignedParties = db.openRecordset(PartyColumns + AssignedWhere, store::RecordsetType::Dynaset);

        Data1->setDatabaseName(shell::program().DatabasePath);
        Data1->setRecordSource(QStringLiteral("Tables"));
        Data1->setRecordsetType(store::RecordsetType::Dynaset);
        Data1->refresh();
    } catch (const store::StoreError&) {
        Form_Unload();
        throw;
    }
    try {
        seating::tableEdit().CurrentTableId = Data1->recordset()->value(QStringLiteral("TableId"));
        DBList1->selectBoundValue(seating::tableEdit().CurrentTableId);
    } catch (const store::StoreError& ignored) {
        store::logIgnored("selecting the first table", ignored);
        // No table yet.
    }
    fillPartyLists();
}

void frmSeater::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!loaded_ || shownSinceLoad_)
        return;
    shownSinceLoad_ = true;
    // Once the window is on screen: the current table's panel, or the "No Tables" message.
    QTimer::singleShot(0, this, [this] {
        if (loaded_ && isVisible())
            Form_Shown();
    });
}

void frmSeater::Form_Shown()
{
    DBList1_Click();
}

void frmSeater::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frmSeater::Form_Unload()
{
    loaded_ = false;
    TableOccupants.reset();
    UnassignedParties.reset();
    AssignedParties.reset();
    Data1->close();
    List1->clear();
    List2->clear();
    List3->clear();
}

// ---- the lists --------------------------------------------------------------------------------

// Empties the list and adds an entry for every party of the set that has a display text,
// carrying the party's key. Walks the set to its end, so the party that was current
// before (the one picked to be seated) is current no longer.
void frmSeater::listParties(store::Recordset& parties, QListWidget* list)
{
    list->clear();
    if (parties.bof() && parties.eof())
        return;
    const int prefix = parties.fieldIndex(QStringLiteral("Prefix"));
    const int firstName = parties.fieldIndex(QStringLiteral("FirstName"));
    const int lastName = parties.fieldIndex(QStringLiteral("LastName"));
    parties.moveFirst();
    while (!parties.eof()) {
        try {
            const auto text = seating::partyDisplayText(parties.value(prefix), parties.value(firstName),
                                                        parties.value(lastName));
            if (text) {
                auto* item = new QListWidgetItem(*text);
                item->setData(PartyKeyRole, parties.bookmark());
                list->addItem(item);
            }
        } catch (const store::StoreError& ignored) {
            store::logIgnored("reading a party for the list", ignored);
            // A row that cannot be read is left out.
        }
        parties.moveNext();
    }
}

void frmSeater::fillPartyList(store::Recordset& parties, QListWidget* list, QLabel* caption,
                              const QString& title)
{
    listParties(parties, list);
    caption->setText(seating::partyListCaption(title, list->count()));
}

void frmSeater::Refresh_All()
{
    if (!UnassignedParties || !AssignedParties)
        return;
    try {
        UnassignedParties->requery();
        AssignedParties->requery();
    } catch (const store::StoreError& e) {
        if (e.number() != store::err::NoCurrentRecord)
            showError(e);
        return;
    }
    fillPartyLists();
}

void frmSeater::fillPartyLists()
{
    try {
        fillPartyList(*UnassignedParties, List1, Label2, UnassignedTitle);
        fillPartyList(*AssignedParties, List2, Label3, AssignedTitle);
    } catch (const store::StoreError& e) {
        if (e.number() != store::err::NoCurrentRecord)
            showError(e);
    }
}

void frmSeater::Refresh_Tables()
{
    store::Recordset* tables = Data1->recordset();
    if (!tables || !tables->hasCurrent()) {
        // No table: nothing is seated at it.
        lblpeople->setText(QStringLiteral("0"));
        lblseats->setText(QStringLiteral("0"));
        lblgroups->setText(QStringLiteral("0"));
        List3->clear();
        return;
    }
    try {
        lblpeople->setText(QString::number(countOf(tables->value(QStringLiteral("assigned")))));
        lblseats->setText(QString::number(countOf(tables->value(QStringLiteral("max")))));
        List3->clear();
        if (TableOccupants) {
            TableOccupants->requery();
            listParties(*TableOccupants, List3);
        }
        lblgroups->setText(QString::number(List3->count()));
    } catch (const store::StoreError& e) {
        if (e.number() == store::err::NoCurrentRecord) {
            lblpeople->setText(QStringLiteral("0"));
            try {
                lblseats->setText(QString::number(countOf(tables->value(QStringLiteral("max")))));
                lblgroups->setText(QString::number(List3->count()));
            } catch (const store::StoreError& ignored) {
                store::logIgnored("reading the table's seats", ignored);
            }
        } else {
            showError(e);
        }
    }
}

// ---- tables -----------------------------------------------------------------------------------

void frmSeater::DBList1_Click()
{
    DBList1->moveRowSourceToSelection();
    store::Recordset* tables = Data1->recordset();
    if (tables && tables->hasCurrent()) {
        try {
            const qint64 tableId = tables->value(QStringLiteral("TableId")).toLongLong();
            TableOccupants =
                shell::database().openRecordset(OccupantsSql, {tableId}, store::RecordsetType::Dynaset);
        } catch (const store::StoreError& ignored) {
            store::logIgnored("reading the table's occupants", ignored);
            // The previous occupant set stays.
        }
    }
    if (!TableOccupants) {
        controls::MsgBox(QStringLiteral("There are no tables setup.") + QChar(10) + QChar(10) +
                             QStringLiteral("Click the 'Add Table' button to add tables to your table list."),
                         OKOnly, QStringLiteral("No Tables"), this);
        Command1->setFocus();
    } else {
        Refresh_Tables();
    }
}

void frmSeater::Data1_Reposition()
{
    Label8->setText(seating::tablesCaption(Data1->recordCount()));
}

// ---- Help and Close ---------------------------------------------------------------------------

void frmSeater::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpSeating);
}

void frmSeater::cmdFloorPlan_Click()
{
    frmFloorPlan plan(this);
    shell::loadAndShowModal(plan, this);
    // The floor plan may have seated, moved or unseated parties: show the file as it is now.
    showTableAgain();
    Refresh_All();
    Refresh_Tables();
}

void frmSeater::SSCommand4_Click()
{
    close();
}

void frmSeater::showError(const store::StoreError& error)
{
    shell::showError(error, this);
}
