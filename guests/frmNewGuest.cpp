#include "guests/frmNewGuest.h"

#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "guests/GuestStore.h"
#include "guests/frmGuests.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Windows.h"
#include "store/Store.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("New Guest");

}  // namespace

frmNewGuest::frmNewGuest(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNewGuest"));
    setWindowTitle(Title);

    // The same limits as the name boxes of the guest window's Address tab.
    txtnewfirst = new QLineEdit;
    txtnewfirst->setObjectName(QStringLiteral("txtnewfirst"));
    txtnewfirst->setMaxLength(20);
    txtnewlast = new QLineEdit;
    txtnewlast->setObjectName(QStringLiteral("txtnewlast"));
    txtnewlast->setMaxLength(20);
    for (QLineEdit* box : {txtnewfirst, txtnewlast})
        box->setMinimumWidth(180);
    Command1 = new QPushButton(QStringLiteral("&OK"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Cancel"));
    Command2->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("First Name")), 0, 0);
    boxes->addWidget(txtnewfirst, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("Last Name")), 1, 0);
    boxes->addWidget(txtnewlast, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter the name of the new guest")));
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    setTabOrder(txtnewfirst, txtnewlast);
    setTabOrder(txtnewlast, Command1);
    setTabOrder(Command1, Command2);
    txtnewfirst->setFocus();
    adjustSize();
    shell::centreOnScreen(this);

    controls::selectAllOnFocus(txtnewfirst);
    controls::selectAllOnFocus(txtnewlast);
    connect(Command1, &QPushButton::clicked, this, &frmNewGuest::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmNewGuest::Command2_Click);
    controls::on(txtnewlast).keyDown([this](int& keyCode, int shift) { txtnewlast_KeyDown(keyCode, shift); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { shell::showHelp(this, shell::HelpGuests); });
}

void frmNewGuest::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void frmNewGuest::txtnewlast_KeyDown(int& keyCode, int)
{
    if (keyCode == controls::key::Return) {
        keyCode = 0;
        Command1_Click();
    }
}

void frmNewGuest::Command1_Click()
{
    const char* missing = txtnewlast->text().isEmpty()    ? "You must enter a last name"
                          : txtnewfirst->text().isEmpty() ? "You must enter a first name"
                                                          : nullptr;
    if (missing) {
        controls::Beep();
        controls::MsgBox(QString::fromLatin1(missing), controls::mb::OKOnly, Title, this);
        return;
    }
    try {
        addGuest();
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, QStringLiteral("Add Guest Error"), this);
    }
}

// Stores the party, then makes it the guest window's current guest on the Address tab.
void frmNewGuest::addGuest()
{
    const store::Bookmark mark = guests::addGuest(shell::database(), txtnewfirst->text(), txtnewlast->text());
    if (store::Recordset* invited = shell::program().InvitedSnapshot)
        invited->requery();
    frmGuests* window = frmGuests::instance();
    if (window) {
        window->Data1->refresh();
        window->Data1->setIndex(QStringLiteral("LastName"));
        window->Data1->setBookmark(mark);
    }
    accept();
    if (window) {
        window->SSTab1->setCurrentIndex(frmGuests::AddressTab);
        window->addCombo1->setFocus();
    }
}

void frmNewGuest::Command2_Click()
{
    reject();
}
