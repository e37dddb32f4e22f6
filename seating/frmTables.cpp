#include "seating/frmTables.h"

#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/WaitCursor.h"
#include "seating/SeatRules.h"
#include "seating/TableEditState.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Windows.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using controls::mb::Information;
using controls::mb::OKOnly;

namespace {

struct BoxField {
    const char* field;
    const char* caption;
};
// Index = box index: the order the table editor's boxes have always had.
constexpr std::array<BoxField, 4> Boxes{{
    {"tablenumber", "Table Number:"},
    {"max", "Maximum Seats:"},
    {"tablename", "Table Name:"},
    {"assigned", "Assigned Seats:"},
}};
constexpr int NumberBox = 0;
constexpr int SeatsBox = 1;
constexpr int NameBox = 2;
constexpr int AssignedBox = 3;

}  // namespace

frmTables::frmTables(controls::DataSource* seatingTables, QWidget* parent)
    : QDialog(parent), seatingTables_(seatingTables)
{
    setObjectName(QStringLiteral("frmTables"));
    setWindowTitle(QStringLiteral("Tables"));

    shell::setHelpContext(this, shell::HelpSeating);
    auto* form = new QFormLayout;
    for (int i = 0; i < 4; ++i) {
        lblLabels[i] = new QLabel(QString::fromLatin1(Boxes[i].caption), this);
        lblLabels[i]->setObjectName(QStringLiteral("lblLabels(%1)").arg(i));
        txtFields[i] = new QLineEdit(this);
        txtFields[i]->setObjectName(QStringLiteral("txtFields(%1)").arg(i));
        lblLabels[i]->setBuddy(txtFields[i]);
        form->addRow(lblLabels[i], txtFields[i]);
        controls::selectAllOnFocus(txtFields[i]);
        controls::on(txtFields[i])
            .keyDown([this, i](int& keyCode, int shift) { txtFields_KeyDown(i, keyCode, shift); })
            .keyPress([this, i](int& keyAscii) { txtFields_KeyPress(i, keyAscii); });
    }

    datPrimaryRS = new controls::DataSource(this);
    datPrimaryRS->setObjectName(QStringLiteral("datPrimaryRS"));
    datPrimaryRSNavigator = datPrimaryRS->createNavigator(this);
    // Closing through the frame must discard before the data source writes the row back
    // on close: a filter installed after the data source's runs before it.
    installEventFilter(this);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    cmdUpdate = new QPushButton(QStringLiteral("&Save"), picButtons);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdClose = new QPushButton(QStringLiteral("&Cancel"), picButtons);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout(picButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdClose);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmTables::cmdUpdate_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTables::cmdClose_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(datPrimaryRSNavigator);
    layout->addWidget(Line1);
    layout->addWidget(picButtons);

    Form_Load();
}

frmTables::~frmTables()
{
    // A window destroyed without being closed must not leave its transaction open.
    if (edit_)
        discardChanges();
    controls::endBusy();
}

void frmTables::Form_Load()
{
    datPrimaryRS->setDatabaseName(shell::program().DatabasePath);
    datPrimaryRS->setRecordSource(QStringLiteral("Tables"));
    datPrimaryRS->setRecordsetType(store::RecordsetType::Dynaset);
    for (int i = 0; i < 4; ++i)
        datPrimaryRS->bind(txtFields[i], QString::fromLatin1(Boxes[i].field));
    connect(datPrimaryRS, &controls::DataSource::validate, this, &frmTables::datPrimaryRS_Validate);
    connect(datPrimaryRS, &controls::DataSource::reposition, this, &frmTables::datPrimaryRS_Reposition);
    connect(datPrimaryRS, &controls::DataSource::error, this, &frmTables::datPrimaryRS_Error);
    datPrimaryRS->refresh();
    adjustSize();
    shell::centreOnScreen(this);
}

void frmTables::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once per opening: showing the window again (after a message box, say) keeps what
    // the user typed and begins no second transaction.
    if (prepared_)
        return;
    prepared_ = true;
    prepareRow();
}

void frmTables::prepareRow()
{
    try {
        edit_ = std::make_unique<store::Transaction>(shell::workspace());
        const auto& state = seating::tableEdit();
        if (state.TableEditMode == seating::AddTableMode) {
            const int tables = seatingTables_ ? seatingTables_->recordCount() : 0;
            // The default of a new row's assigned seats, as the store would give it.
            store::Recordset* rs = datPrimaryRS->recordset();
            rs->addNew();
            const QVariant assignedDefault = rs->value(QString::fromLatin1(Boxes[AssignedBox].field));
            rs->cancelUpdate();

            datPrimaryRS->addNew();
            txtFields[NumberBox]->setText(QString::number(tables + 1));
            txtFields[NameBox]->setText(QStringLiteral("Table #") + txtFields[NumberBox]->text());
            int seats = 0;
            if (tables != 0)
                seats = qint16(seatingTables_->fieldValue(QStringLiteral("max")).toInt());
            txtFields[SeatsBox]->setText(QString::number(seats));
            txtFields[AssignedBox]->setText(
                controls::DataSource::textOf(assignedDefault, store::FieldType::Number));
        } else if (state.TableEditMode == seating::EditTableMode) {
            datPrimaryRS->findFirst(QStringLiteral("TableId = ?"), {state.CurrentTableId});
        }
    } catch (const store::StoreError& e) {
        showDataError(e.description());
    }
}

void frmTables::cmdUpdate_Click()
{
    if (!seating::seatsGiven(txtFields[SeatsBox]->text())) {
        controls::MsgBox(QStringLiteral("You did not specify the amount of seats for this table."),
                         OKOnly | Information, QStringLiteral("Incomplete Information"), this);
        txtFields[SeatsBox]->setFocus();
        return;
    }
    try {
        // A value the store refuses is reported through datPrimaryRS_Error; the window
        // and its transaction stay open so that it can be corrected.
        if (!datPrimaryRS->updateRecord())
            return;
        if (edit_) {
            edit_->commit();
            edit_.reset();
        }
    } catch (const store::StoreError& e) {
        showDataError(e.description());
        return;
    }
    seating::tableEdit().TableSaved = true;
    accept();
}

void frmTables::cmdClose_Click()
{
    discardChanges();
    reject();
}

void frmTables::discardChanges()
{
    controls::endBusy();
    datPrimaryRS->cancelUpdate();
    edit_.reset();  // rolls back; nothing is left to roll back when the database was closed meanwhile
    seating::tableEdit().TableSaved = false;
}

void frmTables::done(int result)
{
    // Escape on a button, or closing the window: the same as Cancel.
    if (edit_)
        discardChanges();
    Form_Unload();
    QDialog::done(result);
}

bool frmTables::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Close && edit_)
        discardChanges();
    return QDialog::eventFilter(watched, event);
}

void frmTables::Form_Unload()
{
    controls::endBusy();
}

void frmTables::txtFields_KeyDown(int, int& keyCode, int)
{
    if (keyCode == controls::key::Return) {
        keyCode = 0;
        cmdUpdate_Click();
    }
}

void frmTables::txtFields_KeyPress(int index, int& keyAscii)
{
    if (keyAscii == controls::key::Escape) {
        txtFields[index]->clear();
        keyAscii = 0;  // emptying the box is all Escape does here
        return;
    }
    if (index != NameBox && !seating::numberBoxAccepts(keyAscii))
        keyAscii = 0;
}

void frmTables::datPrimaryRS_Validate(controls::ValidateEvent& event)
{
    controls::showBusyUntilIdle();
    if (!event.save)
        return;
    // A seat count the field cannot hold is refused, never stored wrapped around.
    for (int box : {SeatsBox, AssignedBox}) {
        const QString caption = QString::fromLatin1(Boxes[size_t(box)].caption).chopped(1);
        if (const auto problem = seating::seatCountProblem(caption, txtFields[size_t(box)]->text())) {
            event.cancel = true;
            showDataError(*problem);
            txtFields[size_t(box)]->setFocus();
            return;
        }
    }
}

void frmTables::datPrimaryRS_Reposition()
{
    controls::endBusy();
    try {
        datPrimaryRS->setCaption(QStringLiteral("Record: ") +
                                 QString::number(datPrimaryRS->absolutePosition() + 1));
    } catch (const store::StoreError& ignored) {
        store::logIgnored("showing the record number", ignored);
        // The caption keeps its last text.
    }
}

void frmTables::datPrimaryRS_Error(controls::DataErrorEvent& event)
{
    showDataError(event.description);
    event.response = controls::DataErrorEvent::Response::Handled;
}

void frmTables::showDataError(const QString& description)
{
    controls::endBusy();
    controls::MsgBox(QStringLiteral("Data error event hit err:") + description, OKOnly, QString(), this);
}
