// The envelope label lines of a guest party, shared by the guest window and the guest
// import: the wedding line is the party's name, the shower line a title and the last name.
#pragma once

#include <QString>
#include <QVariant>

namespace shell {

// Title, first and last name joined by single blanks; a missing part joins as empty
// text, so a party without a title gives " John Smith". This is the navigator caption,
// the name in the remove question and the proposed wedding label line.
QString partyName(const QVariant& prefix, const QVariant& firstName, const QVariant& lastName);

// The proposed shower label line: "Ms." for a party whose title is exactly "Ms.",
// "Mrs." for every other title (or none), then a blank and the last name.
QString showerLine(const QVariant& prefix, const QVariant& lastName);

}  // namespace shell
