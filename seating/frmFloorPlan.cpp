#include "seating/frmFloorPlan.h"

#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "seating/FloorPlanView.h"
#include "seating/SeatingActions.h"
#include "seating/TableActions.h"
#include "seating/TableEditState.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "store/Store.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

using namespace seating;

namespace {

const QString NotAtReceptionSql = QStringLiteral("SELECT Count(*) FROM Guests WHERE InvReception = False");
const QString UnseatedSql = QStringLiteral(
    "SELECT Prefix, FirstName, LastName, guestof, Invited, Confirmed, NumberAttending FROM Guests "
    "WHERE InvReception = True AND tableid = 0 ORDER BY LastName, FirstName");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QString& tip = {})
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setToolTip(tip);
    return button;
}

}  // namespace

frmFloorPlan::frmFloorPlan(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFloorPlan"));
    setWindowTitle(QStringLiteral("Floor Plan"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildControls();
    resize(1180, 700);
}

frmFloorPlan::~frmFloorPlan() = default;

void frmFloorPlan::buildControls()
{
    scene_ = new FloorPlanScene(this);
    viewPlan = new FloorPlanView(this);
    viewPlan->setObjectName(QStringLiteral("viewPlan"));
    viewPlan->setScene(scene_);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    lblUnseated = new QLabel(side);
    lblUnseated->setObjectName(QStringLiteral("lblUnseated"));
    cboSide = new QComboBox(side);
    cboSide->setObjectName(QStringLiteral("cboSide"));
    cboSide->addItems({QStringLiteral("All sides"), QStringLiteral("Bride"), QStringLiteral("Groom"),
                       QStringLiteral("Both")});
    txtFind = new QLineEdit(side);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setPlaceholderText(QStringLiteral("Find a name"));
    txtFind->setClearButtonEnabled(true);
    lstUnseated = new PartyDragList(side);
    lstUnseated->setObjectName(QStringLiteral("lstUnseated"));
    auto* hint = new QLabel(QStringLiteral("Drag a party onto a table to seat it."), side);
    hint->setWordWrap(true);
    sideLayout->addWidget(lblUnseated);
    sideLayout->addWidget(cboSide);
    sideLayout->addWidget(txtFind);
    sideLayout->addWidget(lstUnseated, 1);
    sideLayout->addWidget(hint);

    auto* split = new QSplitter(this);
    split->addWidget(side);
    split->addWidget(viewPlan);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 900});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolbar());
    layout->addWidget(buildPlanBar());
    layout->addWidget(split, 1);

    connect(cboSide, &QComboBox::currentIndexChanged, this, [this] { fillUnseated(); });
    connect(txtFind, &QLineEdit::textChanged, this, [this] { fillUnseated(); });
    connect(lstUnseated, &PartyDragList::partyDropped, this, &frmFloorPlan::partyDroppedFromList,
            Qt::QueuedConnection);
    connect(scene_, &FloorPlanScene::partyDropped, this, &frmFloorPlan::partyDroppedInPlan,
            Qt::QueuedConnection);
    connect(scene_, &FloorPlanScene::tableMoved, this, &frmFloorPlan::tableMoved, Qt::QueuedConnection);
    connect(
        scene_, &FloorPlanScene::memberSeatDropped, this,
        [this](MemberKey member, int seat) {
            change([&] { moveMemberToSeat(shell::database(), member, seat); });
        },
        Qt::QueuedConnection);
    connect(viewPlan, &FloorPlanView::moveSelectedTable, this, &frmFloorPlan::moveSelectedTable);
    connect(viewPlan, &FloorPlanView::unseatSelectedParty, this, &frmFloorPlan::unseatSelectedParty);
}

QWidget* frmFloorPlan::buildToolbar()
{
    // Two rows: looking at the plan above, changing the seating below, so that the window
    // stays narrow enough for a small screen.
    auto* bar = new QWidget(this);
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    auto* seatingRow = new QHBoxLayout;
    rows->addLayout(row);
    rows->addLayout(seatingRow);
    cmdZoomIn =
        makeButton(bar, "cmdZoomIn", QStringLiteral("Zoom In"), QStringLiteral("Ctrl+wheel also zooms"));
    cmdZoomOut = makeButton(bar, "cmdZoomOut", QStringLiteral("Zoom Out"));
    cmdFit = makeButton(bar, "cmdFit", QStringLiteral("Fit to Window"));
    cmdShape = makeButton(bar, "cmdShape", QStringLiteral("Round/Rectangle"),
                          QStringLiteral("Draw the selected table round or rectangular"));
    cmdPin = makeButton(bar, "cmdPin", QStringLiteral("Pin/Unpin"),
                        QStringLiteral("A pinned party stays at its table when everyone is re-seated"));
    cmdAddTable = makeButton(bar, "cmdAddTable", QStringLiteral("Add Table..."));
    cmdEditTable = makeButton(bar, "cmdEditTable", QStringLiteral("Edit Table..."),
                              QStringLiteral("Change the selected table's name, number and seats"));
    cmdDeleteTable = makeButton(bar, "cmdDeleteTable", QStringLiteral("Delete Table"),
                                QStringLiteral("Delete the selected table; its parties go back to the list"));
    cmdSeatEveryone = makeButton(bar, "cmdSeatEveryone", QStringLiteral("Seat Everyone..."));
    cmdUndo = makeButton(bar, "cmdUndo", QStringLiteral("Undo Seating"));
    cmdUndo->setEnabled(false);
    cmdRules = makeButton(bar, "cmdRules", QStringLiteral("Rules..."));
    cmdPrint = makeButton(bar, "cmdPrint", QStringLiteral("Print..."));
    cmdHelp = makeButton(bar, "cmdHelp", QStringLiteral("Help"));
    cmdClose = makeButton(bar, "cmdClose", QStringLiteral("Close"));
    for (QPushButton* b : {cmdZoomIn, cmdZoomOut, cmdFit, cmdShape, cmdPin})
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(cmdHelp);
    row->addWidget(cmdClose);
    for (QPushButton* b : {cmdAddTable, cmdEditTable, cmdDeleteTable})
        seatingRow->addWidget(b);
    seatingRow->addSpacing(12);
    for (QPushButton* b : {cmdSeatEveryone, cmdUndo, cmdRules, cmdPrint})
        seatingRow->addWidget(b);
    seatingRow->addStretch(1);

    connect(cmdZoomIn, &QPushButton::clicked, this, [this] { viewPlan->zoomBy(1.25); });
    connect(cmdZoomOut, &QPushButton::clicked, this, [this] { viewPlan->zoomBy(0.8); });
    connect(cmdFit, &QPushButton::clicked, this, [this] { viewPlan->fitAll(); });
    connect(cmdShape, &QPushButton::clicked, this, &frmFloorPlan::toggleShape);
    connect(cmdPin, &QPushButton::clicked, this, &frmFloorPlan::togglePin);
    connect(cmdAddTable, &QPushButton::clicked, this, &frmFloorPlan::addTable);
    connect(cmdEditTable, &QPushButton::clicked, this, &frmFloorPlan::editTable);
    connect(cmdDeleteTable, &QPushButton::clicked, this, &frmFloorPlan::deleteSelectedTable);
    connect(cmdSeatEveryone, &QPushButton::clicked, this, &frmFloorPlan::askSeatEveryone);
    connect(cmdUndo, &QPushButton::clicked, this, &frmFloorPlan::undoSeating);
    connect(cmdRules, &QPushButton::clicked, this, &frmFloorPlan::openRules);
    connect(cmdPrint, &QPushButton::clicked, this, &frmFloorPlan::print);
    connect(cmdHelp, &QPushButton::clicked, this, [this] { shell::showHelp(this, shell::HelpFloorPlan); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    return bar;
}

QWidget* frmFloorPlan::buildPlanBar()
{
    fraPlan = new QFrame(this);
    fraPlan->setObjectName(QStringLiteral("fraPlan"));
    fraPlan->setFrameShape(QFrame::StyledPanel);
    fraPlan->setStyleSheet(QStringLiteral("#fraPlan { background: #fff4cc; }"));
    auto* row = new QHBoxLayout(fraPlan);
    lblPlan = new QLabel(fraPlan);
    lblPlan->setObjectName(QStringLiteral("lblPlan"));
    lblPlan->setWordWrap(true);
    lblPlan->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdApply = makeButton(fraPlan, "cmdApply", QStringLiteral("Apply Plan"));
    cmdDiscard = makeButton(fraPlan, "cmdDiscard", QStringLiteral("Discard"));
    row->addWidget(lblPlan, 1);
    row->addWidget(cmdApply);
    row->addWidget(cmdDiscard);
    fraPlan->hide();
    connect(cmdApply, &QPushButton::clicked, this, &frmFloorPlan::applyPlan);
    connect(cmdDiscard, &QPushButton::clicked, this, &frmFloorPlan::discardPlan);
    return fraPlan;
}

void frmFloorPlan::Form_Load()
{
    reload();
    viewPlan->fitAll();
}

void frmFloorPlan::reload()
{
    store::Database& db = shell::database();
    scene_->show(loadFloorState(db));
    fillUnseated();
}

void frmFloorPlan::fillUnseated()
{
    lstUnseated->clear();
    int people = 0;
    try {
        auto rs = shell::database().openRecordset(UnseatedSql, store::RecordsetType::Dynaset);
        const QString side = cboSide->currentIndex() > 0 ? cboSide->currentText() : QString();
        const QString find = txtFind->text().trimmed();
        for (; !rs->eof(); rs->moveNext()) {
            if (!side.isEmpty() &&
                rs->value(QStringLiteral("guestof")).toString().compare(side, Qt::CaseInsensitive))
                continue;
            const QString name = partyName(*rs);
            if (!find.isEmpty() && !name.contains(find, Qt::CaseInsensitive))
                continue;
            const int count = partyPeople(rs->value(QStringLiteral("Confirmed")),
                                          rs->value(QStringLiteral("NumberAttending")),
                                          rs->value(QStringLiteral("Invited")));
            auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(name).arg(count), lstUnseated);
            item->setData(PartyKeyRole, rs->bookmark());
            people += count;
        }
    } catch (const store::StoreError& e) {
        shell::showError(e);
    }
    QString text = QStringLiteral("Not seated: %1 parties, %2 people").arg(lstUnseated->count()).arg(people);
    // Only parties invited to the reception are seated: an empty list after an import usually
    // means nobody was invited to it yet.
    try {
        const int away = shell::database()
                             .openRecordset(NotAtReceptionSql, store::RecordsetType::Snapshot)
                             ->value(0)
                             .toInt();
        if (away > 0)
            text += QStringLiteral("\n%1 %2 not invited to the reception.")
                        .arg(away)
                        .arg(away == 1 ? QStringLiteral("party is") : QStringLiteral("parties are"));
    } catch (const store::StoreError& e) {
        shell::showError(e);
    }
    lblUnseated->setText(text);
}

std::optional<seating::TableKey> frmFloorPlan::selectedTable() const
{
    for (QGraphicsItem* item : scene_->selectedItems())
        if (auto* table = dynamic_cast<TableItem*>(item))
            return table->key();
    return std::nullopt;
}

controls::DataSource* frmFloorPlan::tablesSource()
{
    if (!datTables_) {
        datTables_ = new controls::DataSource(this);
        datTables_->setObjectName(QStringLiteral("datTables"));
        datTables_->setDatabaseName(shell::program().DatabasePath);
        datTables_->setRecordSource(QStringLiteral("Tables"));
        datTables_->setRecordsetType(store::RecordsetType::Dynaset);
    }
    datTables_->refresh();
    // The editor proposes the seats of the table the user works on: the selected one.
    if (const auto table = selectedTable())
        if (store::Recordset* rs = datTables_->recordset())
            rs->findFirst(QStringLiteral("TableId = ?"), {*table});
    return datTables_;
}

void frmFloorPlan::addTable()
{
    change([this] { seating::runTableEditor(tablesSource(), seating::AddTableMode, {}, this); });
}

void frmFloorPlan::editTable()
{
    const auto table = selectedTable();
    if (!table) {
        seating::saySelectTableFirst(this);
        return;
    }
    change([&] { seating::runTableEditor(tablesSource(), seating::EditTableMode, *table, this); });
    if (TableItem* again = scene_->tableItem(*table))
        again->setSelected(true);
}

void frmFloorPlan::deleteSelectedTable()
{
    if (!scene_->hasTables())
        return;
    const auto table = selectedTable();
    if (!table) {
        seating::saySelectTableFirst(this);
        return;
    }
    change([&] { seating::deleteTable(shell::database(), *table); });
}

template <typename Change>
void frmFloorPlan::change(Change&& run)
{
    if (proposal_)
        discardPlan();
    try {
        run();
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    reload();
}

void frmFloorPlan::partyDroppedFromList(PartyKey party, QPoint globalPosition)
{
    const QPoint inView = viewPlan->viewport()->mapFromGlobal(globalPosition);
    if (!viewPlan->viewport()->rect().contains(inView))
        return;
    const TableKey table = scene_->tableAt(viewPlan->mapToScene(inView));
    if (table == 0)
        return;
    change([&] { seatParty(shell::database(), party, table, this); });
}

void frmFloorPlan::partyDroppedInPlan(PartyKey party, TableKey table)
{
    change([&] {
        if (table == 0)
            unseatParty(shell::database(), party);
        else
            seatParty(shell::database(), party, table, this);
    });
}

void frmFloorPlan::tableMoved(TableKey table, QPointF centre)
{
    TableItem* item = scene_->tableItem(table);
    if (!item)
        return;
    try {
        savePlace(shell::database(), table, {centre, item->table().place.shape});
    } catch (const store::StoreError& e) {
        shell::showError(e);
    }
}

void frmFloorPlan::moveSelectedTable(QPointF by)
{
    for (QGraphicsItem* item : scene_->selectedItems())
        if (auto* table = dynamic_cast<TableItem*>(item)) {
            table->moveBy(by.x(), by.y());
            tableMoved(table->key(), table->pos());
        }
}

void frmFloorPlan::unseatSelectedParty()
{
    for (QGraphicsItem* item : scene_->selectedItems())
        if (auto* party = dynamic_cast<PartyItem*>(item)) {
            const PartyKey key = party->key();
            change([&] { unseatPartyAsking(shell::database(), key, this); });
            return;
        }
}

void frmFloorPlan::toggleShape()
{
    for (QGraphicsItem* item : scene_->selectedItems())
        if (auto* table = dynamic_cast<TableItem*>(item)) {
            TablePlace place{table->pos(), table->table().place.shape == TableShape::Round
                                               ? TableShape::Rectangle
                                               : TableShape::Round};
            const TableKey key = table->key();
            change([&] { savePlace(shell::database(), key, place); });
            if (TableItem* again = scene_->tableItem(key))
                again->setSelected(true);
            return;
        }
}

void frmFloorPlan::togglePin()
{
    for (QGraphicsItem* item : scene_->selectedItems())
        if (auto* party = dynamic_cast<PartyItem*>(item)) {
            const PartyKey key = party->key();
            const bool pinned = !party->party().pinned;
            change([&] { setPinned(shell::database(), key, pinned); });
            return;
        }
}
