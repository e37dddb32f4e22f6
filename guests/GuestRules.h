// The rules behind the guest window's tabs, without widgets: how a party's name is
// written, the envelope label lines, what the count and amount boxes accept and how
// they normalise their text, and which controls keep their keyboard stop on a tab.
#pragma once

#include "shell/LabelLines.h"
#include "store/Currency.h"

#include <QString>
#include <QVariant>

namespace guests {

// The sides a party can be the guest of, as stored in guestof, in the order of the
// window's side options.
inline const QString Sides[] = {QStringLiteral("Bride"), QStringLiteral("Groom"), QStringLiteral("Both")};

// ---- names and label lines ------------------------------------------------------------

// partyName (the navigator caption and proposed wedding line) and showerLine (the
// proposed shower line) are shared with the guest import.
using shell::partyName;
using shell::showerLine;

// ---- count boxes (people invited and attending) ----------------------------------------

// What a key typed into a count box does.
enum class CountKey {
    Accept,          // the character is typed
    AcceptAndReply,  // typed, and the box's "Received Response" box is ticked
    Discard,         // the character is dropped
    RemoveGuest,     // Escape: the window's Remove Guest runs, the key is dropped
};

// Invited boxes take digits only (Backspace is dropped too); reply boxes (attending)
// take Backspace and digits, and a digit there also ticks the reply box.
CountKey countKeyAction(int keyAscii, bool replyBox);

// The count a text holds: the number read from its leading digits (leading blanks
// skipped), written in its shortest form ("007" -> "7"); "0" when no digits lead.
QString countText(const QString& text);

// ---- gift amount boxes -----------------------------------------------------------------

enum class AmountKey { Accept, Discard, Clear };
// Digits and "$" are typed, Escape clears the box, everything else is dropped.
AmountKey amountKeyAction(int keyAscii);

// The display form of an amount while its box does not have the focus:
// "$#,##0.00;($#,##0.00)" -> "$1,234.50", "($3.00)".
QString amountDisplayText(store::Currency amount);
// The plain form shown while the box has the focus: "1234.5", "25", "-3".
QString amountEditText(store::Currency amount);
// Whether a box's text reads as an amount (a dollar sign and thousands separators allowed).
bool isAmountText(const QString& text);
// The amount of a text that isAmountText accepts.
store::Currency amountOf(const QString& text);

// ---- summary number formats ------------------------------------------------------------

// A grid cell: the decimal text led by a blank when not negative (" 3", " 0", "-2").
QString summaryCellText(qint64 number);
// A label: the plain decimal text of a number of any kind, no filler, no fixed
// decimals ("150.5", "150", "0" for Null).
QString summaryLabelText(const QVariant& number);

// ---- keyboard stops ------------------------------------------------------------------

// A control on the tab control keeps its keyboard stop when the first three characters
// of its name match those of the current tab's caption, ignoring case.
bool keepsTabStop(const QString& controlName, const QString& tabCaption);

}  // namespace guests
