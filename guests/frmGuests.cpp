#include "guests/frmGuests.h"

#include "controls/ConfirmDelete.h"
#include "controls/DataList.h"
#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/ListValues.h"
#include "controls/MaskedEdit.h"
#include "guests/GuestRules.h"
#include "guests/GuestStore.h"
#include "guests/GuestSummary.h"
#include "guests/GuestWidgets.h"
#include "guests/frmGuestsMembers.h"
#include "guests/frmNewGuest.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/OpenWindow.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using guests::named;
using guests::tryStep;

namespace {

QPointer<frmGuests>& openWindow()
{
    static QPointer<frmGuests> window;
    return window;
}

const QString Guests = QStringLiteral("Guests");
const QString LastNameIndex = QStringLiteral("LastName");

// The focus policy a control was built with, kept while the tab change takes its
// keyboard stop away.
const char* const DesignedFocusPolicy = "orvaneDesignedFocusPolicy";

}  // namespace

// ==== opening ================================================================================

void showGuestWindow(std::optional<qint64> party)
{
    frmGuests window;
    shell::loadAndShowModal(window, nullptr, [&] {
        if (party)
            window.Data1->setBookmark(*party);
    });
}

frmGuests* frmGuests::instance()
{
    return openWindow();
}

frmGuests::frmGuests(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmGuests"));
    setWindowTitle(QStringLiteral("Guest List Manager"));
    openWindow() = this;

    Data1 = named(new controls::DataSource(this), QStringLiteral("Data1"));
    Data2 = named(new controls::DataSource(this), QStringLiteral("Data2"));
    Data3 = named(new controls::DataSource(this), QStringLiteral("Data3"));

    SSTab1 = named(new QTabWidget, QStringLiteral("SSTab1"));
    SSTab1->addTab(buildAddressTab(), QStringLiteral("Address"));
    SSTab1->addTab(buildDetailsTab(), QStringLiteral("Details"));
    SSTab1->addTab(buildGiftsTab(), QStringLiteral("Gifts"));
    SSTab1->addTab(buildSummaryTab(), QStringLiteral("Summary"));
    SSTab1->addTab(buildMailLabelsTab(), QStringLiteral("Mail Labels"));
    // Member changes write the party's counts: the typed values are written first, and the
    // bound boxes show the new counts afterwards.
    memTab = new guests::MembersTab([this] { return Data1->updateRecord(); }, [this] { Data1->resync(); });
    SSTab1->addTab(memTab, QStringLiteral("Members"));

    navigator = Data1->createNavigator(this);
    navigator->setMinimumWidth(320);
    SSCommand1 = named(new QPushButton(QStringLiteral("Help")), QStringLiteral("SSCommand1"));
    SSCommand2 = named(new QPushButton(QStringLiteral("Add Guest")), QStringLiteral("SSCommand2"));
    SSCommand3 = named(new QPushButton(QStringLiteral("Remove Guest")), QStringLiteral("SSCommand3"));
    SSCommand4 = named(new QPushButton(QStringLiteral("Close")), QStringLiteral("SSCommand4"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(navigator, 1);
    buttons->addSpacing(12);
    for (QPushButton* b : {SSCommand1, SSCommand2, SSCommand3, SSCommand4})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);

    bindFields();
    connectEvents();
    setKeyboardOrder();
    resize(720, 520);
}

frmGuests::~frmGuests()
{
    if (openWindow() == this)
        openWindow() = nullptr;
}

void frmGuests::connectEvents()
{
    connect(Data1, &controls::DataSource::reposition, this, &frmGuests::Data1_Reposition);
    connect(Data1, &controls::DataSource::validate, this, &frmGuests::Data1_Validate);
    connect(Data1, &controls::DataSource::error, this, &frmGuests::Data1_Error);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int) { SSTab1_Click(currentTab_); });

    controls::on(addDBList1).click([this] { addDBList1_Click(); });
    controls::on(addDBCombo1).change([this] { addDBCombo1_Change(); }).lostFocus([this] {
        addDBCombo1_LostFocus();
    });
    controls::on(addDBCombo2).change([this] { addDBCombo2_Change(); }).lostFocus([this] {
        addDBCombo2_LostFocus();
    });
    controls::selectAllOnFocus(addCombo1);

    connect(SSCommand1, &QPushButton::clicked, this, &frmGuests::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmGuests::SSCommand2_Click);
    connect(SSCommand3, &QPushButton::clicked, this, &frmGuests::SSCommand3_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmGuests::SSCommand4_Click);
    shell::setHelpContext(this, shell::HelpGuests);
    shell::setHelpContext(memTab, shell::HelpMembers);

    for (int i = 0; i < 3; ++i)
        controls::on(detside[size_t(i)]).click([this, i] { detside_Click(i); }).gotFocus([this, i] {
            detside_GotFocus(i);
        });
    controls::on(detCheck1).click([this] { detCheck1_Click(); });
    controls::on(detCheck3).click([this] { detCheck3_Click(); });
    controls::on(detCheck4).click([this] { detCheck4_Click(); });
    controls::on(detCheck6).click([this] { detCheck6_Click(); });
    for (int box = 1; box <= 4; ++box)
        controls::on(countBox(box))
            .keyPress([this, box](int& keyAscii) { detText_KeyPress(box, keyAscii); })
            .lostFocus([this, box] { detText_LostFocus(box); });

    for (int box = 1; box <= 3; ++box)
        controls::on(amountBox(box))
            .gotFocus([this, box] { gifMaskEdBox_GotFocus(box); })
            .keyPress([this, box](int& keyAscii) { gifMaskEdBox_KeyPress(box, keyAscii); })
            .lostFocus([this, box] { gifMaskEdBox_LostFocus(box); });

    connect(maifillwed, &QPushButton::clicked, this, &frmGuests::maifillwed_Click);
    connect(maifillshow, &QPushButton::clicked, this, &frmGuests::maifillshow_Click);
}

// The keyboard order of each tab, then the buttons.
void frmGuests::setKeyboardOrder()
{
    const std::vector<QWidget*> order = {
        addDBList1,    addCombo1,       addtxtFields[2], addtxtFields[0],  addtxtFields[4], addDBCombo1,
        addDBCombo2,   addtxtFields[7], addtxtFields[8], addtxtFields[10], detside[0],      detside[1],
        detside[2],    detCheck2,       detCheck3,       detCheck4,        detCheck5,       detText1,
        detCheck1,     detText2,        detText3,        detCheck6,        detText4,        gifText1,
        gifMaskEdBox1, gifCheck7,       gifText2,        gifMaskEdBox2,    gifCheck8,       gifText3,
        gifMaskEdBox3, gifCheck9,       MSFlexGrid1,     maiText2,         maifillwed,      maiText3,
        maifillshow,   SSCommand1,      SSCommand2,      SSCommand3,       SSCommand4};
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmGuests::Form_Load()
{
    const QString path = shell::program().DatabasePath;
    Data1->setDatabaseName(path);
    Data1->setRecordSource(Guests);
    Data1->setRecordsetType(store::RecordsetType::Table);
    Data1->refresh();
    Data1->setIndex(LastNameIndex);
    addDBList1->setRowSource(Data1, QStringLiteral("LastName"));

    Data2->setDatabaseName(path);
    Data2->setRecordSource(QStringLiteral("CityList"));
    Data2->setRecordsetType(store::RecordsetType::Dynaset);
    Data2->refresh();
    addDBCombo1->setRowSource(Data2, QStringLiteral("City"));

    Data3->setDatabaseName(path);
    Data3->setRecordSource(QStringLiteral("StateList"));
    Data3->setRecordsetType(store::RecordsetType::Dynaset);
    Data3->refresh();
    addDBCombo2->setRowSource(Data3, QStringLiteral("State"));

    detside[0]->setText(shell::program().BrideName);
    detside[1]->setText(shell::program().GroomName);

    SSTab1_Click(AddressTab);
    if (GuestListEmpty)
        shell::showTip(shell::TipEmptyGuestList);
}

// ==== record change ===========================================================================

void frmGuests::Data1_Reposition()
{
    if (Data1->isEmpty()) {
        SSTab1->setEnabled(false);
        SSCommand3->setEnabled(false);
        GuestListEmpty = true;
        // Once the last guest is removed, neither the navigator nor the counter may go on
        // showing that guest.
        Data1->setCaption(QString());
        tryStep([this] { showGuestCount(); });
        return;
    }
    SSTab1->setEnabled(true);
    SSCommand3->setEnabled(true);
    GuestListEmpty = false;

    // Each step stands alone: one that cannot be done (no current row past the end, the
    // counter's snapshot closed) leaves the others to run.
    const bool onRow = Data1->hasCurrent();
    auto field = [this](const char* name) { return Data1->fieldValue(QString::fromLatin1(name)); };
    if (onRow) {
        tryStep([&] {
            Data1->setCaption(guests::partyName(field("Prefix"), field("FirstName"), field("LastName")));
        });
        tryStep([&] { Frame11->setVisible(field("ShowerGuest").toBool()); });
    }
    tryStep([this] { showGuestCount(); });
    if (currentTab_ == MembersTab)
        showMembers();
    if (onRow) {
        tryStep([&] { selectSide(true); });
        if (maiText2->text().isEmpty())
            maiText2->setText(Data1->caption());
        if (maiText3->text().isEmpty())
            maifillshow_Click();
    }
    // The combos' texts were just loaded, which is no edit of the user's.
    CityChanged = false;
    StateChanged = false;
    addDBCombo1->lineEdit()->deselect();
    addDBCombo2->lineEdit()->deselect();
}

void frmGuests::showGuestCount()
{
    if (store::Recordset* invited = shell::program().InvitedSnapshot)
        lblguestcount->setText(invited->value(QStringLiteral("count of guests")).toString());
}

// A party is listed and found by its last name: the row is not written without one, as
// the new guest dialog does not add one without it. The user stays on the row to type it.
void frmGuests::Data1_Validate(controls::ValidateEvent& event)
{
    if (!event.save || !Data1->hasCurrent() || !addtxtFields[0]->text().isEmpty())
        return;
    event.cancel = true;
    controls::Beep();
    controls::MsgBox(QStringLiteral("You must enter a last name"), controls::mb::OKOnly,
                     QStringLiteral("Guest List Manager"), this);
    if (SSTab1->currentIndex() == AddressTab)
        addtxtFields[0]->setFocus();
}

void frmGuests::Data1_Error(controls::DataErrorEvent& event)
{
    // The window's own words, with the reason under them: which field, and what the store
    // could not do (too long, locked by another program, disk full).
    event.response = controls::DataErrorEvent::Response::Handled;
    controls::MsgBox(QStringLiteral("You have entered invalid data"),
                     controls::mb::OKOnly | controls::mb::Exclamation, QStringLiteral("Invalid Data"), this,
                     event.reason.isEmpty() ? event.description : event.reason);
}

void frmGuests::addDBList1_Click()
{
    addDBList1->moveRowSourceToSelection();
}

// ==== tab change ==============================================================================

void frmGuests::SSTab1_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    currentTab_ = SSTab1->currentIndex();

    for (QLineEdit* box : {detText1, detText2, detText3, detText4})
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    for (controls::MaskedEdit* box : {gifMaskEdBox1, gifMaskEdBox2, gifMaskEdBox3})
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    addDBCombo1->lineEdit()->deselect();
    addDBCombo2->lineEdit()->deselect();
    applyKeyboardStops();

    // Moving the focus fails quietly while the window is not shown yet.
    switch (currentTab_) {
        case AddressTab:
            addCombo1->setFocus();
            break;
        case DetailsTab:
            showerframe->setVisible(detCheck4->isChecked());
            break;
        case GiftsTab:
            gifText1->setFocus();
            break;
        case SummaryTab:
            GuestSummary();
            break;
        case MailLabelsTab:
            maiText2->setFocus();
            Frame11->setVisible(detCheck4->isChecked());
            break;
        case MembersTab:
            if (Data1->updateRecord())
                showMembers();
            memTab->memList->setFocus();
            break;
        default:
            break;
    }
}

// The members of the current party (none while the list is empty or past its end).
void frmGuests::showMembers()
{
    auto field = [this](const char* name) { return Data1->fieldValue(QString::fromLatin1(name)); };
    if (!Data1->hasCurrent() || Data1->isAdding()) {
        memTab->showParty(std::nullopt, {}, {});
        return;
    }
    memTab->showParty(Data1->bookmark(),
                      guests::partyName(field("Prefix"), field("FirstName"), field("LastName")),
                      field("LastName").toString());
}

// Tab moves only among the controls of the visible tab: a control on the tab control
// keeps its keyboard stop when its name starts like the current tab's caption. Parts
// of composite widgets (unnamed or named by Qt) and controls without a stop are left.
void frmGuests::applyKeyboardStops()
{
    const QString caption = SSTab1->tabText(SSTab1->currentIndex());
    for (int page = 0; page < SSTab1->count(); ++page) {
        for (QWidget* control : SSTab1->widget(page)->findChildren<QWidget*>()) {
            const QString name = control->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            QVariant designed = control->property(DesignedFocusPolicy);
            if (!designed.isValid()) {
                designed = int(control->focusPolicy());
                control->setProperty(DesignedFocusPolicy, designed);
            }
            const auto policy = Qt::FocusPolicy(designed.toInt());
            if (!(policy & Qt::TabFocus))
                continue;
            control->setFocusPolicy(
                guests::keepsTabStop(name, caption) ? policy : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        }
    }
}

// ==== city and state lists =====================================================================

void frmGuests::addDBCombo1_Change()
{
    CityChanged = true;
}
void frmGuests::addDBCombo2_Change()
{
    StateChanged = true;
}

void frmGuests::addDBCombo1_LostFocus()
{
    if (CityChanged)
        controls::appendListValue(*Data2, QStringLiteral("City"), addDBCombo1->currentText());
    CityChanged = false;
}

void frmGuests::addDBCombo2_LostFocus()
{
    if (StateChanged)
        controls::appendListValue(*Data3, QStringLiteral("State"), addDBCombo2->currentText());
    StateChanged = false;
}

// ==== buttons =================================================================================

void frmGuests::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpGuests);
}

void frmGuests::SSCommand2_Click()
{
    try {
        frmNewGuest dialog(this);
        controls::ShowModal(&dialog);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
}

void frmGuests::SSCommand3_Click()
{
    controls::deleteShowingErrors([this] { removeCurrentGuest(); }, this);
}

void frmGuests::removeCurrentGuest()
{
    store::Recordset* guests = Data1->recordset();
    if (!guests || !guests->hasCurrent())
        throw store::StoreError(store::err::NoCurrentRecord, QStringLiteral("No current record."));
    const QString name =
        guests::partyName(guests->value(QStringLiteral("Prefix")), guests->value(QStringLiteral("FirstName")),
                          guests->value(QStringLiteral("LastName")));
    if (!controls::confirmDelete(name, this))
        return;
    guests::removeGuest(*guests);
    if (store::Recordset* invited = shell::program().InvitedSnapshot)
        invited->requery();
    Data1->refresh();
    Data1->setIndex(LastNameIndex);
}

void frmGuests::SSCommand4_Click()
{
    close();
}
