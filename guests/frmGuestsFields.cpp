// The guest window's handlers of the Details, Gifts and Mail Labels tabs.
#include "guests/frmGuests.h"

#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/MaskedEdit.h"
#include "guests/GuestRules.h"
#include "guests/GuestWidgets.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

using guests::tryStep;

QLineEdit* frmGuests::countBox(int box) const
{
    const std::array<QLineEdit*, 4> boxes = {detText1, detText2, detText3, detText4};
    return boxes.at(size_t(box - 1));
}

// The "Received Response" box that an attending box ticks (none for the invited boxes).
QCheckBox* frmGuests::replyBox(int box) const
{
    return box == 2 ? detCheck1 : box == 4 ? detCheck6 : nullptr;
}

controls::MaskedEdit* frmGuests::amountBox(int box) const
{
    const std::array<controls::MaskedEdit*, 3> boxes = {gifMaskEdBox1, gifMaskEdBox2, gifMaskEdBox3};
    return boxes.at(size_t(box - 1));
}

// ==== Details tab ==============================================================================

// The side is written at once, not when the row is left; choosing the side the party
// already has writes nothing (the record change selects it that way on every arrival).
void frmGuests::detside_Click(int index)
{
    store::Recordset* guests = Data1->recordset();
    if (!guests || !guests->hasCurrent())
        return;
    try {
        const QVariant stored = guests->value(QStringLiteral("guestof"));
        if (!stored.isNull() && stored.toString() == guests::Sides[index])
            return;
        guests->edit();
        guests->setValue(QStringLiteral("guestof"), guests::Sides[index]);
        guests->update();
    } catch (const store::StoreError& e) {
        try {
            if (guests->editMode() != store::EditMode::None)
                guests->cancelUpdate();
        } catch (const store::StoreError& ignored) {
            store::logIgnored("cancelling a refused side", ignored);
        }
        Data1->reportError(e);
    }
}

void frmGuests::detside_GotFocus(int)
{
    tryStep([this] { selectSide(false); });
}

// Selects the side option of the current party's guestof. Another value, or none,
// leaves the options as they are, except on arrival at a row (clearOtherwise): then no
// option is selected, so the window never suggests a side the party does not hold.
void frmGuests::selectSide(bool clearOtherwise)
{
    const QVariant side = Data1->fieldValue(QStringLiteral("guestof"));
    for (int i = 0; i < 3; ++i) {
        if (!side.isNull() && side.toString() == guests::Sides[i]) {
            detside[size_t(i)]->setChecked(true);
            return;
        }
    }
    if (!clearOtherwise)
        return;
    // Exclusive options cannot all be unchecked one by one while they are exclusive.
    for (QRadioButton* option : detside) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

void frmGuests::detCheck1_Click()
{
    if (!detCheck1->isChecked())
        detText2->setText(QStringLiteral("0"));
}

void frmGuests::detCheck3_Click()
{
    Frame3->setVisible(detCheck3->isChecked());
}
void frmGuests::detCheck4_Click()
{
    showerframe->setVisible(detCheck4->isChecked());
}

void frmGuests::detCheck6_Click()
{
    if (!detCheck6->isChecked())
        detText4->setText(QStringLiteral("0"));
}

void frmGuests::detText_KeyPress(int box, int& keyAscii)
{
    switch (guests::countKeyAction(keyAscii, replyBox(box) != nullptr)) {
        case guests::CountKey::Accept:
            break;
        case guests::CountKey::AcceptAndReply:
            replyBox(box)->setChecked(true);
            break;
        case guests::CountKey::Discard:
            keyAscii = 0;
            break;
        case guests::CountKey::RemoveGuest:
            keyAscii = 0;
            SSCommand3_Click();
            break;
    }
}

void frmGuests::detText_LostFocus(int box)
{
    QLineEdit* text = countBox(box);
    const QString count = guests::countText(text->text());
    QCheckBox* reply = replyBox(box);
    if (reply && count != QLatin1String("0"))
        reply->setChecked(true);
    text->setText(count);
}

// ==== Gifts tab =================================================================================

void frmGuests::gifMaskEdBox_GotFocus(int box)
{
    controls::MaskedEdit* amount = amountBox(box);
    if (shell::program().GiftTipPending) {
        shell::program().GiftTipPending = false;
        if (box != 3)
            controls::Beep();
        shell::showTip(shell::TipGiftAmount);
    }
    // While it has the focus the box shows the plain amount.
    if (guests::isAmountText(amount->text()))
        amount->setText(guests::amountEditText(guests::amountOf(amount->text())));
    controls::selectAll(amount);
}

void frmGuests::gifMaskEdBox_KeyPress(int box, int& keyAscii)
{
    switch (guests::amountKeyAction(keyAscii)) {
        case guests::AmountKey::Accept:
            break;
        case guests::AmountKey::Discard:
            keyAscii = 0;
            break;
        case guests::AmountKey::Clear:
            amountBox(box)->setText(QString());
            keyAscii = 0;
            break;
    }
}

void frmGuests::gifMaskEdBox_LostFocus(int box)
{
    controls::MaskedEdit* amount = amountBox(box);
    const QString text = amount->text();
    if (text.isEmpty()) {
        amount->setText(QStringLiteral("0"));
        return;
    }
    if (guests::isAmountText(text)) {
        amount->setText(guests::amountDisplayText(guests::amountOf(text)));
        return;
    }
    // Not an amount: the user stays in the box until it holds one (or nothing).
    controls::Beep();
    if (box != 1)
        shell::showTip(shell::TipGiftAmount);
    QTimer::singleShot(0, amount, [amount] { amount->setFocus(Qt::OtherFocusReason); });
}

// ==== Mail Labels tab ===========================================================================

// The name as the guest had it when it became current (the navigator's caption).
void frmGuests::maifillwed_Click()
{
    maiText2->setText(Data1->caption());
}

void frmGuests::maifillshow_Click()
{
    store::Recordset* guests = Data1->recordset();
    if (!guests || !guests->hasCurrent())
        return;
    try {
        maiText3->setText(guests::showerLine(guests->value(QStringLiteral("Prefix")),
                                             guests->value(QStringLiteral("LastName"))));
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reading the shower label line", ignored);
    }
}
