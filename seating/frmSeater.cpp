#include "seating/frmSeater.h"

#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "seating/SeatRules.h"
#include "seating/TableEditState.h"
#include "seating/frmTables.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "store/Store.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using controls::mb::OKOnly;

namespace {

// Every party set reads the same columns: whose guest the party is, its size, the parts
// of its name (the list text is built from them), its table and its people seated there.
const QString PartyColumns = QStringLiteral(
    "SELECT Guests.Guestof, Guests.Invited, Guests.Prefix, Guests.FirstName, Guests.LastName, "
    "Guests.tableid, Guests.tabletot From Guests ");
const QString UnassignedWhere =
    QStringLiteral("Where (((Guests.TableId) = 0))ORDER BY Guests.tableid, Guests.LastName;");
const QString AssignedWhere = QStringLiteral("Where (((Guests.TableId) > 0))ORDER BY Guests.LastName;");

QString occupantsSql(qint64 tableId)
{
    return PartyColumns + QStringLiteral("Where (Guests.tableid = ") + QString::number(tableId) +
           QLatin1Char(')') + QStringLiteral(" ORDER BY Guests.tableid, Guests.LastName;");
}

const QString UnassignedTitle = QStringLiteral("Unassigned Guests ");
const QString AssignedTitle = QStringLiteral("Assigned Guests ");
const QString SelectTableFirst = QStringLiteral("You must select a Table first");
const QString CantAddGuest = QStringLiteral("Can't Add Guest");

// The rows one seating operation changes are saved together: either all of them or, when
// one write fails, none, so a table's assigned seats never disagree with its parties.
// (Saving once also spares a disk flush per row.)
class SeatingChange {
public:
    SeatingChange() { shell::workspace().beginTrans(); }
    ~SeatingChange()
    {
        if (!open_)
            return;
        try {
            shell::workspace().rollback();
        } catch (const store::StoreError&) {
        }
    }
    SeatingChange(const SeatingChange&) = delete;
    SeatingChange& operator=(const SeatingChange&) = delete;
    void commit()
    {
        shell::workspace().commitTrans();
        open_ = false;
    }

private:
    bool open_ = true;
};

// The key of the party a list entry stands for.
constexpr int PartyKeyRole = Qt::UserRole;

std::optional<QString> displayTextOf(const store::Recordset& parties)
{
    return seating::partyDisplayText(parties.value(QStringLiteral("Prefix")),
                                     parties.value(QStringLiteral("FirstName")),
                                     parties.value(QStringLiteral("LastName")));
}

// Numbers of the seating plan are read as 16-bit integers; Null counts as 0.
int countOf(const QVariant& value)
{
    return qint16(value.toInt());
}

std::optional<store::Bookmark> selectedPartyKey(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first()->data(PartyKeyRole).toLongLong();
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);  // thousands of parties: no per-entry size queries
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QFrame* makePanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

void makeBold(QLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

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
    buildControls();
}

frmSeater::~frmSeater() = default;

void frmSeater::buildControls()
{
    Data1 = new controls::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    connect(Data1, &controls::DataSource::reposition, this, &frmSeater::Data1_Reposition);

    // Tables, the current table's properties and the table buttons.
    Label8 = makeLabel(this, "Label8", QStringLiteral("Tables"));
    DBList1 = new controls::DataList(this);
    DBList1->setObjectName(QStringLiteral("DBList1"));
    DBList1->setRowSource(Data1, QStringLiteral("tablename"), QStringLiteral("TableId"));
    controls::on(DBList1).click([this] { DBList1_Click(); });

    Picture2 = makePanel(this, "Picture2");
    Label9 = makeLabel(Picture2, "Label9", QStringLiteral("Table Properties"));
    makeBold(Label9);
    Label6 = makeLabel(Picture2, "Label6", QStringLiteral("Seats"));
    Label12 = makeLabel(Picture2, "Label12", QStringLiteral("People"));
    Label10 = makeLabel(Picture2, "Label10", QStringLiteral("Groups"));
    lblseats = makeLabel(Picture2, "lblseats", QStringLiteral("0"));
    lblpeople = makeLabel(Picture2, "lblpeople", QStringLiteral("0"));
    lblgroups = makeLabel(Picture2, "lblgroups", QStringLiteral("0"));
    auto* properties = new QGridLayout(Picture2);
    properties->addWidget(Label9, 0, 0, 1, 3, Qt::AlignHCenter);
    int column = 0;
    for (QLabel* caption : {Label6, Label12, Label10})
        properties->addWidget(caption, 1, column++, Qt::AlignHCenter);
    column = 0;
    for (QLabel* value : {lblseats, lblpeople, lblgroups}) {
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumWidth(48);
        properties->addWidget(value, 2, column++, Qt::AlignHCenter);
    }

    Command1 = makeButton(this, "Command1", QStringLiteral("Add Table"));
    Command4 = makeButton(this, "Command4", QStringLiteral("Edit Table"));
    Command3 = makeButton(this, "Command3", QStringLiteral("Delete Table"));
    Command2 = makeButton(this, "Command2", QStringLiteral("Clear Table"));
    connect(Command1, &QPushButton::clicked, this, &frmSeater::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmSeater::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSeater::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSeater::Command2_Click);
    auto* tableButtons = new QGridLayout;
    tableButtons->addWidget(Command1, 0, 0);
    tableButtons->addWidget(Command4, 0, 1);
    tableButtons->addWidget(Command3, 1, 0);
    tableButtons->addWidget(Command2, 1, 1);

    auto* tablesColumn = new QVBoxLayout;
    tablesColumn->addWidget(Label8);
    tablesColumn->addWidget(DBList1, 1);
    tablesColumn->addWidget(Picture2);
    tablesColumn->addLayout(tableButtons);

    // The occupants of the current table.
    Label7 = makeLabel(this, "Label7", QStringLiteral("Table Occupants"));
    List3 = makeList(this, "List3");
    Command6 = makeButton(this, "Command6", QStringLiteral("Remove Guest"));
    connect(Command6, &QPushButton::clicked, this, &frmSeater::Command6_Click);
    auto* occupantsColumn = new QVBoxLayout;
    occupantsColumn->addWidget(Label7);
    occupantsColumn->addWidget(List3, 1);
    occupantsColumn->addWidget(Command6);

    // The parties not yet seated, the picked party's size, and Add Guest.
    Label2 = makeLabel(this, "Label2", QStringLiteral("Unassigned Guests"));
    List1 = makeList(this, "List1");
    controls::on(List1).click([this] { List1_Click(); });
    Picture1 = makePanel(this, "Picture1");
    Label1 = makeLabel(Picture1, "Label1", QStringLiteral("Guest Party"));
    makeBold(Label1);
    Label5 = makeLabel(Picture1, "Label5", QString());
    Label4 = makeLabel(Picture1, "Label4", QString());
    auto* party = new QHBoxLayout(Picture1);
    party->addWidget(Label1);
    party->addStretch();
    party->addWidget(Label5);
    party->addWidget(Label4);
    Command5 = makeButton(this, "Command5", QStringLiteral("Add Guest"));
    connect(Command5, &QPushButton::clicked, this, &frmSeater::Command5_Click);
    auto* unassignedColumn = new QVBoxLayout;
    unassignedColumn->addWidget(Label2);
    unassignedColumn->addWidget(List1, 1);
    unassignedColumn->addWidget(Picture1);
    unassignedColumn->addWidget(Command5);

    // Every seated party, for viewing only.
    Label3 = makeLabel(this, "Label3", QStringLiteral("Assigned Guests"));
    List2 = makeList(this, "List2");
    controls::on(List2).click([this] { List2_Click(); });
    auto* assignedColumn = new QVBoxLayout;
    assignedColumn->addWidget(Label3);
    assignedColumn->addWidget(List2, 1);

    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("Help"));
    SSCommand4 = makeButton(this, "SSCommand4", QStringLiteral("Close"));
    connect(SSCommand1, &QPushButton::clicked, this, &frmSeater::SSCommand1_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmSeater::SSCommand4_Click);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(SSCommand1);
    bottom->addWidget(SSCommand4);

    auto* columns = new QHBoxLayout;
    columns->addLayout(tablesColumn, 1);
    columns->addLayout(occupantsColumn, 1);
    columns->addLayout(unassignedColumn, 1);
    columns->addLayout(assignedColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    resize(940, 540);
}

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
    } catch (const store::StoreError&) {
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
        } catch (const store::StoreError&) {
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
            } catch (const store::StoreError&) {
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
                shell::database().openRecordset(occupantsSql(tableId), store::RecordsetType::Dynaset);
        } catch (const store::StoreError&) {
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

void frmSeater::selectTable(const QVariant& tableId)
{
    if (!Data1->findFirst(QStringLiteral("[TableId] = ?"), {tableId}))
        return;
    DBList1->selectBoundValue(tableId);
}

void frmSeater::openTableEditor()
{
    frmTables editor(Data1, this);
    controls::ShowModal(&editor);
}

void frmSeater::Command1_Click()
{
    try {
        auto& state = seating::tableEdit();
        state.TableEditMode = seating::AddTableMode;
        state.TableSaved = false;
        openTableEditor();
        if (state.TableSaved) {
            Data1->refresh();
            Data1->moveLast();
            DBList1->selectBoundValue(Data1->recordset()->value(QStringLiteral("TableId")));
        }
        DBList1_Click();
    } catch (const store::StoreError&) {
        controls::MsgBox(SelectTableFirst, OKOnly, QStringLiteral("Orvane"), this);
    }
}

void frmSeater::Command4_Click()
{
    try {
        store::Recordset* tables = Data1->recordset();
        if (!tables)
            throw store::StoreError(store::err::ObjectNotSet, QStringLiteral("Object variable not set."));
        auto& state = seating::tableEdit();
        state.CurrentTableId = tables->value(QStringLiteral("TableId"));
        state.TableEditMode = seating::EditTableMode;
        openTableEditor();
        Data1->refresh();
        selectTable(state.CurrentTableId);
        Refresh_Tables();
        DBList1_Click();
    } catch (const store::StoreError&) {
        controls::MsgBox(SelectTableFirst, OKOnly, QStringLiteral("Orvane"), this);
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
        if (!tables)
            return;
        if (Data1->recordCount() > 0) {
            SeatingChange change;
            tables->deleteRecord();
            clearOccupants();
            change.commit();
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
        if (!TableOccupants)
            return;
        TableOccupants->requery();
        if (TableOccupants->bof() && TableOccupants->eof()) {
            controls::MsgBox(QStringLiteral("There are no Guest Groups to remove from this table."), OKOnly,
                             QStringLiteral("Can't Clear Table"), this);
            return;
        }
        SeatingChange change;
        clearOccupants();
        writeAssigned(0);
        change.commit();
        showTableAgain();
        Refresh_All();
        Refresh_Tables();
        DBList1_Click();
    } catch (const store::StoreError&) {
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
    } catch (const store::StoreError&) {
    }
}

void frmSeater::List2_Click()
{
    List2->clearSelection();
    List2->setCurrentItem(nullptr);
}

void frmSeater::Command5_Click()
{
    using Kind = seating::SeatAnswer::Kind;
    try {
        store::Recordset* tables = Data1->recordset();
        if (!UnassignedParties || !tables)
            throw store::StoreError(store::err::NoCurrentRecord, QStringLiteral("No current record."));
        const int size = countOf(UnassignedParties->value(QStringLiteral("Invited")));
        const int assigned = countOf(tables->value(QStringLiteral("assigned")));
        const int free = seating::freeSeats(countOf(tables->value(QStringLiteral("max"))), assigned);
        if (free == 0) {
            controls::MsgBox(QStringLiteral("You have no more seats available at this table."), OKOnly,
                             CantAddGuest, this);
            return;
        }
        const QString party = displayTextOf(*UnassignedParties).value_or(QString());
        const QString prompt = seating::seatPromptText(party, free);
        const QString title = seating::seatPromptTitle(tables->value(QStringLiteral("tablename")).toString());
        int people = 0;
        for (;;) {
            const QString answer = controls::InputBox(prompt, title, QString::number(size), nullptr, this);
            const seating::SeatAnswer read = seating::readSeatAnswer(answer, free);
            if (read.kind == Kind::Cancelled)
                return;
            if (read.kind == Kind::Zero) {
                controls::MsgBox(
                    QStringLiteral("You have to specify the amount of people in the group of ") + party,
                    OKOnly, QStringLiteral("How many  people?"), this);
            } else if (read.kind == Kind::TooMany) {
                controls::Beep();
                controls::MsgBox(QStringLiteral("You only have ") + QString::number(free) +
                                     QStringLiteral(" seats available at this table"),
                                 OKOnly, QStringLiteral("Not Enough Room"), this);
            } else if (read.kind == Kind::Accepted) {
                people = read.people;
                break;
            }
        }
        SeatingChange change;
        UnassignedParties->edit();
        UnassignedParties->setValue(QStringLiteral("TableId"), tables->value(QStringLiteral("TableId")));
        UnassignedParties->setValue(QStringLiteral("tabletot"), people);
        UnassignedParties->update();
        writeAssigned(assigned + people);
        change.commit();
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
        store::Recordset* tables = Data1->recordset();
        if (!AssignedParties || !tables || !AssignedParties->hasBookmark(*key))
            return;
        AssignedParties->setBookmark(*key);
        // Only a party seated at the current table is taken off it.
        if (AssignedParties->value(QStringLiteral("tableid")).toLongLong() !=
            tables->value(QStringLiteral("TableId")).toLongLong())
            return;
        const int seated = countOf(AssignedParties->value(QStringLiteral("tabletot")));
        SeatingChange change;
        AssignedParties->edit();
        AssignedParties->setValue(QStringLiteral("TableId"), 0);
        AssignedParties->update();
        writeAssigned(countOf(tables->value(QStringLiteral("assigned"))) - seated);
        change.commit();
        showTableAgain();
        Refresh_All();
        Refresh_Tables();
    } catch (const store::StoreError& e) {
        if (e.number() != store::err::NoCurrentRecord)
            showError(e);
    }
}

// ---- Help and Close ---------------------------------------------------------------------------

void frmSeater::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpSeating);
}

void frmSeater::SSCommand4_Click()
{
    close();
}

void frmSeater::showError(const store::StoreError& error)
{
    controls::MsgBox(error.description(), OKOnly, QStringLiteral("Error #") + QString::number(error.number()),
                     this);
}
