// frmMain, data side: loading, the couple caption, the General Information panel with its
// transaction and date fields, and rescheduling the checklist when the panel closes.
#include "app/frmMain.h"
#include "controls/Named.h"

#include "app/frmWelcome.h"
#include "budget/BudgetStore.h"
#include "checklist/DueDates.h"
#include "controls/CellFormat.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/MaskedEdit.h"
#include "shell/Artwork.h"
#include "shell/DatePicker.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Sound.h"
#include "shell/Tips.h"
#include "shell/Windows.h"
#include "store/Log.h"
#include "store/Store.h"
#include "store/Transaction.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "08:00 AM" ... "11:30 PM": every half hour.
QStringList halfHours()
{
    QStringList times;
    for (int minutes = 8 * 60; minutes <= 23 * 60 + 30; minutes += 30) {
        const int hour24 = minutes / 60;
        const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
        times << QStringLiteral("%1:%2 %3")
                     .arg(hour12, 2, 10, QLatin1Char('0'))
                     .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                     .arg(hour24 < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    return times;
}

using controls::named;

}  // namespace

// ---- Building the panel ------------------------------------------------------------------

void frmMain::ensureGeneralPanel()
{
    if (frameGeneral)
        return;
    buildGeneralPanel();
    hub_->updateGeometry();  // the window's minimum size now holds the panel
    const std::pair<QWidget*, const char*> bindings[] = {
        {txtbridesname, "bridesname"}, {txtgroomsname, "groomsname"},   {txtshowloc, "showloc"},
        {txtshowdate, "showdate"},     {cshowtime, "showtime"},         {txtshowcont, "showcont"},
        {mshowphone, "showphone"},     {txtweddingloc, "weddingloc"},   {txtweddingdate, "weddingdate"},
        {cweddingtime, "weddingtime"}, {txtweddingcont, "weddingcont"}, {mweddingphone, "weddingphone"},
        {txtreceptloc, "receptloc"},   {txtrecdate, "recdate"},         {crectime, "rectime"},
        {txtreccont, "reccont"},       {mrecphone, "recphone"},
    };
    for (const auto& [widget, field] : bindings)
        Data4->bind(widget, QString::fromLatin1(field));
    Data4->resync();
}

void frmMain::buildGeneralPanel()
{
    frameGeneral = named(new QGroupBox(QStringLiteral("General Information"), hub_), "frameGeneral");
    frameGeneral->setAutoFillBackground(true);
    QPalette ivory = frameGeneral->palette();
    ivory.setColor(QPalette::Window, QColor(255, 250, 246));
    frameGeneral->setPalette(ivory);
    frameGeneral->hide();

    shell::setHelpContext(frameGeneral, shell::HelpGeneral);
    txtbridesname = named(new QLineEdit, "txtbridesname");
    txtgroomsname = named(new QLineEdit, "txtgroomsname");

    struct Event {
        QGroupBox*& frame;
        const char* frameName;
        const char* caption;
        QLineEdit*& location;
        const char* locationName;
        QLineEdit*& date;
        const char* dateName;
        QComboBox*& time;
        const char* timeName;
        QLineEdit*& contact;
        const char* contactName;
        QLineEdit*& phone;
        const char* phoneName;
    };
    const Event events[] = {
        {Frame6, "Frame6", "Shower Information", txtshowloc, "txtshowloc", txtshowdate, "txtshowdate",
         cshowtime, "cshowtime", txtshowcont, "txtshowcont", mshowphone, "mshowphone"},
        {Frame4, "Frame4", "Ceremony Information", txtweddingloc, "txtweddingloc", txtweddingdate,
         "txtweddingdate", cweddingtime, "cweddingtime", txtweddingcont, "txtweddingcont", mweddingphone,
         "mweddingphone"},
        {Frame5, "Frame5", "Reception Information", txtreceptloc, "txtreceptloc", txtrecdate, "txtrecdate",
         crectime, "crectime", txtreccont, "txtreccont", mrecphone, "mrecphone"},
    };

    // Both names on one line, so that the panel fits a small screen.
    auto* names = new QHBoxLayout;
    auto* bride = new QFormLayout;
    bride->addRow(QStringLiteral("Bride's Name"), txtbridesname);
    auto* groom = new QFormLayout;
    groom->addRow(QStringLiteral("Groom's Name"), txtgroomsname);
    names->addLayout(bride, 1);
    names->addSpacing(16);
    names->addLayout(groom, 1);

    auto* frames = new QVBoxLayout;
    frames->setSpacing(6);
    for (const Event& e : events) {
        e.frame = named(new QGroupBox(QString::fromLatin1(e.caption)), e.frameName);
        e.location = named(new QLineEdit, e.locationName);
        e.date = named(new QLineEdit, e.dateName);
        e.time = named(new QComboBox, e.timeName);
        e.time->setEditable(true);
        e.time->addItems(halfHours());
        e.time->setMaxVisibleItems(12);
        e.contact = named(new QLineEdit, e.contactName);
        auto* phone = named(new controls::MaskedEdit, e.phoneName);
        phone->setMask(QString::fromLatin1(controls::PhoneMask));
        e.phone = phone;
        // Location | Date | Time on the first line, Contact Name | Phone Number on the second.
        auto* grid = new QGridLayout(e.frame);
        grid->setHorizontalSpacing(10);
        grid->addWidget(new QLabel(QStringLiteral("Location")), 0, 0);
        grid->addWidget(e.location, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Date")), 0, 2);
        grid->addWidget(e.date, 0, 3);
        grid->addWidget(new QLabel(QStringLiteral("Time")), 0, 4);
        grid->addWidget(e.time, 0, 5);
        grid->addWidget(new QLabel(QStringLiteral("Contact Name")), 1, 0);
        grid->addWidget(e.contact, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("Phone Number")), 1, 2);
        grid->addWidget(e.phone, 1, 3, 1, 3);
        grid->setColumnStretch(1, 3);
        grid->setColumnStretch(3, 1);
        grid->setColumnStretch(5, 1);
        e.date->setMinimumWidth(110);
        e.time->setMinimumWidth(110);
        frames->addWidget(e.frame);
    }

    SSCommand5 = named(new QPushButton(QStringLiteral("Help")), "SSCommand5");
    SSCommand4 = named(new QPushButton(QStringLiteral("Close")), "SSCommand4");
    for (QPushButton* b : {SSCommand5, SSCommand4}) {
        b->setMinimumWidth(96);
        b->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SSCommand5);
    buttons->addWidget(SSCommand4);

    auto* layout = new QVBoxLayout(frameGeneral);
    layout->setContentsMargins(18, 20, 18, 12);
    layout->addLayout(names);
    layout->addSpacing(4);
    layout->addLayout(frames);
    layout->addStretch();
    layout->addLayout(buttons);

    // Tab order: names, then each event top to bottom, then the buttons.
    QList<QWidget*> order{txtbridesname, txtgroomsname};
    for (const Event& e : events)
        order << e.location << e.date << e.time << e.contact << e.phone;
    order << SSCommand5 << SSCommand4;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SSCommand4, &QPushButton::clicked, this, &frmMain::SSCommand4_Click);
    connect(SSCommand5, &QPushButton::clicked, this, &frmMain::SSCommand5_Click);

    // Text and phone boxes: whole content selected on focus, Esc closes the panel.
    for (QLineEdit* box : {txtbridesname, txtgroomsname, txtshowloc, txtshowcont, mshowphone, txtweddingloc,
                           txtweddingcont, mweddingphone, txtreceptloc, txtreccont, mrecphone}) {
        controls::selectAllOnFocus(box);
        controls::on(box).keyDown([this](int& keyCode, int) {
            if (keyCode == controls::key::Escape) {
                keyCode = 0;
                SSCommand4_Click();
            }
        });
    }
    // Date fields: seed the exchange fields on focus; keys other than Esc and Delete, and
    // a double click, open the date picker.
    for (QLineEdit* date : {txtshowdate, txtweddingdate, txtrecdate}) {
        controls::on(date)
            .gotFocus([this, date] { dateField_Focus(date); })
            .keyDown([this, date](int& keyCode, int) {
                constexpr int Alt = 18;
                if (keyCode == controls::key::Escape) {
                    keyCode = 0;
                    SSCommand4_Click();
                } else if (keyCode == controls::key::Delete || keyCode == 0 ||
                           keyCode == controls::key::Shift || keyCode == controls::key::Control ||
                           keyCode == Alt) {
                    // Delete edits the text (a date can be cleared); modifier keys wait for their key.
                } else {
                    const QString typed = controls::on(date).keyText();
                    keyCode = 0;
                    dateField_Pick(date, !typed.isEmpty() && typed.at(0).isPrint() ? typed : QString());
                }
            })
            .dblClick([this, date] { dateField_Pick(date, QString()); });
    }
}

// ---- Loading -----------------------------------------------------------------------------

void frmMain::Form_Load(QWidget* splash)
{
    shell::setupHelp(this);
    shell::registerDateExchange(txtolddate, txtnewdate);
    openInvitedSnapshot();

    Data4 = named(new controls::DataSource(this), "Data4");
    Data4->setDatabaseName(shell::program().DatabasePath);
    Data4->setRecordSource(QStringLiteral("General"));
    Data4->setRecordsetType(store::RecordsetType::Table);
    Data4->refresh();  // a table that cannot be opened ends the start-up

    const bool hasNames = readGeneral(false);  // just refreshed
    if (!hasNames) {
        shell::playApplause();
        if (splash)
            splash->hide();
        frmWelcome welcome(this);
        controls::ShowModal(&welcome);
        show();
        shell::showTip(shell::TipFirstRun);
    }
    // Once the window has painted: reading the budget does not hold up the start.
    shell::runWhenPainted(this, [this] { Show_Overdue(); });
}

void frmMain::Show_Overdue()
{
    budget::OverdueSum overdue;
    try {
        overdue = budget::readOverdue(shell::database(), QDate::currentDate());
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reading the overdue payments", ignored);
        // The notice is a reminder only; the windows that need the file say what is wrong.
    }
    lblOverdue->setVisible(overdue.count > 0);
    const QString amount =
        controls::formatCell(QVariant::fromValue(overdue.amount), controls::CellFormat::Currency);
    lblOverdue->setText(
        overdue.count == 1
            ? QStringLiteral("1 payment of the budget is overdue (%1): File > Budget... lists it.")
                  .arg(amount)
            : QStringLiteral("%1 payments of the budget are overdue (%2): File > Budget... lists them.")
                  .arg(overdue.count)
                  .arg(amount));
}

void frmMain::openInvitedSnapshot()
{
    invited_ =
        shell::database().openRecordset(QStringLiteral("Invited Query"), store::RecordsetType::Snapshot);
    shell::program().InvitedSnapshot = invited_.get();
}

void frmMain::releaseRecordsets()
{
    if (Data4)
        Data4->close();
    shell::program().InvitedSnapshot = nullptr;
    invited_.reset();
}

void frmMain::reopenRecordsets()
{
    openInvitedSnapshot();
    Data4->refresh();
}

// ---- The couple caption ------------------------------------------------------------------

namespace {
// A name as stored; a name never entered (Null) reads as empty.
QString nameText(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}
}  // namespace

bool frmMain::Set_General()
{
    return readGeneral(true);
}

bool frmMain::readGeneral(bool refresh)
{
    try {
        if (refresh)
            Data4->refresh();
        if (!Data4->hasCurrent()) {
            // Table General is empty: create the wedding's row.
            store::Recordset* rs = Data4->recordset();
            rs->addNew();
            rs->setValue(QStringLiteral("bridesname"), QString(""));
            rs->setValue(QStringLiteral("groomsname"), QString(""));
            rs->update();
            rs->moveFirst();
            Data4->resync();
            return false;
        }
        shell::Program& p = shell::program();
        p.BrideName = nameText(Data4->fieldValue(QStringLiteral("bridesname")));
        p.GroomName = nameText(Data4->fieldValue(QStringLiteral("groomsname")));
        const bool hasNames = !p.BrideName.isEmpty() && !p.GroomName.isEmpty();
        Label1->setText(p.BrideName + QStringLiteral(" and ") + p.GroomName);
        Label1->setVisible(hasNames);
        Label3->setVisible(hasNames);
        return hasNames;
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
        return false;
    }
}

// ---- Due dates ---------------------------------------------------------------------------

void frmMain::SetDueDates()
{
    try {
        rescheduleDueDates();
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
}

void frmMain::rescheduleDueDates()
{
    const QVariant value = Data4->fieldValue(QStringLiteral("weddingdate"));
    if (value.isNull() || value.toString().isEmpty())
        return;
    if (value.typeId() != QMetaType::QDateTime || !value.toDateTime().isValid())
        throw store::StoreError(store::err::TypeMismatch, QStringLiteral("Type mismatch"));
    checklist::applyDueDates(shell::database(), value.toDateTime());
}

// ---- Opening and closing the panel -------------------------------------------------------

bool frmMain::generalOpen() const
{
    return generalOpen_;
}

void frmMain::openGeneral()
{
    if (generalOpen_)
        return;
    ensureGeneralPanel();
    general_ = std::make_unique<store::Transaction>(shell::workspace());
    generalOpen_ = true;
    frameGeneral->setGeometry(hub_->rect().adjusted(14, 10, -14, -10));
    frameGeneral->raise();
    frameGeneral->show();
    setMenusEnabled(false);
    txtbridesname->setFocus();
}

void frmMain::commitGeneral()
{
    general_->commit();
    general_.reset();
    generalOpen_ = false;
}

// The General row and the due dates rewritten from it are committed together, so that the
// file never holds a wedding date with the due dates of another. When the rescheduling or
// the commit fails, nothing of it is saved and the panel stays open with what was typed.
void frmMain::saveGeneral()
{
    {
        // On a failure only the due dates roll back: the typed row stays in the panel's transaction.
        store::Transaction dueDates(shell::workspace());
        rescheduleDueDates();
        dueDates.commit();
    }
    commitGeneral();
}

// After a failed save the panel is as it was before Close: open, menus locked, the typed
// values on screen and a transaction open, so that Close can be tried again.
void frmMain::keepGeneralOpen()
{
    // When the engine ended the transaction, the values are written again at the next Close.
    if (shell::workspace().transactionDepth() == 0)
        Data4->markShownAsEdited();
}

void frmMain::SSCommand4_Click()
{
    if (!generalOpen_)
        return;
    try {
        if (!general_ || !general_->isOpen()) {  // the one of an earlier failed Close was ended
            general_.reset();
            general_ = std::make_unique<store::Transaction>(shell::workspace());
        }
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
        return;
    }
    // A value the row cannot take (a date that is not a date) has been reported by Data4;
    // the panel stays open so that it can be corrected, and nothing is lost.
    if (!Data4->updateRecord())
        return;
    try {
        saveGeneral();
    } catch (const store::StoreError& e) {
        keepGeneralOpen();
        shell::showError(e, this);
        return;
    }
    frameGeneral->hide();
    setMenusEnabled(true);
    Set_General();
}

void frmMain::SSCommand5_Click()
{
    shell::showHelp(this, shell::HelpGeneral);
}

// ---- Date fields -------------------------------------------------------------------------

QString frmMain::pickerCaption(QLineEdit* field) const
{
    if (field == txtshowdate)
        return QStringLiteral("Enter Shower Date");
    if (field == txtweddingdate)
        return QStringLiteral("Enter Ceremony Date");
    return QStringLiteral("Enter Reception Date");
}

void frmMain::dateField_Focus(QLineEdit* field)
{
    txtnewdate->setText(field->text());
    txtolddate->setText(field->text());
    controls::selectAll(field);
}

// Cancel and Esc in the picker leave the field's text as it is when the picker opens, on
// every path: a date picked earlier in the same visit is never lost to a later Cancel.
// The key that opened the picker is the first character of the date typed there.
void frmMain::dateField_Pick(QLineEdit* field, const QString& typed)
{
    txtolddate->setText(field->text());
    const QDate own = shell::parseDateText(field->text());
    field->setText(shell::pickDate(pickerCaption(field), own.isValid() ? own : QDate::currentDate(),
                                   txtolddate->text(), std::nullopt, typed));
}
