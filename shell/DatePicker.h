// Picking a date with the date picker (frmCalander).
//
// The picker answers through two exchange fields owned by the main window, txtolddate
// (the field's text before picking) and txtnewdate (the answer). The main window registers
// them at start-up; callers use only the functions here:
//
//   const QString picked = shell::pickDate("Enter Due Date", QDate::currentDate(),
//                                        field->text(), field->text());
//   field->setText(picked);
//
// What comes back: OK or Enter -> the chosen date as short-date text with a four-digit
// year; Cancel or Esc -> oldText unchanged (even when it is empty or not a date); a double
// click on a day -> that date; the window's close box -> the last day clicked, or the
// seed when none was clicked. A date typed in the picker is taken exactly by OK or Enter,
// or refused there with a message; it is never handed back half-typed.
#pragma once

#include "shell/DateText.h"

#include <QDate>
#include <QString>

#include <optional>

class QLineEdit;

namespace shell {

// Registers the exchange fields (the main window, once, while it loads).
void registerDateExchange(QLineEdit* oldDate, QLineEdit* newDate);

// The whole calling protocol: writes txtolddate := oldText and, when seed is given,
// txtnewdate := *seed; sets the picker's caption and starting date; shows it modally;
// returns txtnewdate's text. An invalid start date starts the picker on today. typed is
// what the user typed to open the picker (the key that opened it): the picker's date box
// starts with it, so that a date typed in one go arrives whole.
QString pickDate(const QString& caption, const QDate& start, const QString& oldText,
                 const std::optional<QString>& seed = std::nullopt, const QString& typed = QString());

// The name of the date a picker caption asks for, for its messages: "Enter Due Date" ->
// "Due Date".
QString pickedFieldName(const QString& caption);

// The exchange fields' texts (empty when none are registered).
QString oldDateText();
QString newDateText();
void setOldDateText(const QString& text);
void setNewDateText(const QString& text);

}  // namespace shell
