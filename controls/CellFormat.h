// Display formats of grid columns and their reverse: how a stored value is shown in a
// cell and how typed text becomes a value again. Pure functions over the user's locale
// (QLocale()), without widgets.
#pragma once

#include "store/Store.h"

#include <QString>
#include <QVariant>

namespace controls {

enum class CellFormat {
    AsEntered,      // the value's plain text (dates as short date with the time when it has
                    // one, money "12.50", Yes/No "True"/"False")
    YesNo,          // "Yes/No": Yes or No
    MediumDate,     // "Medium Date": day, abbreviated month name, year ("05-Jun-2024")
    ShortDate,      // "Short Date": the user's short date format, four-digit year ("6/15/2024")
    Currency,       // "Currency": the user's currency format ("$1,234.50", "($3.00)")
    GeneralNumber,  // "General Number": no grouping, no currency sign ("1234.5", "4")
};

// The format of a name used in the windows ("Yes/No", "Medium Date", "Short Date",
// "Currency", "General Number"); anything else is AsEntered.
CellFormat cellFormatFromName(const QString& name);

// Text of a value in a format; Null shows as "". A value that does not fit the format
// (text in a Currency column) shows as its plain text.
QString formatCell(const QVariant& value, CellFormat format);

// Reads typed text back into a value for a field of the given type. Empty text (after
// trimming) is Null. Text that cannot be read for the type (letters for a Currency
// field) is returned unchanged as a QString, so that the store refuses it with its own
// type error. Yes/No accepts Yes/No/True/False/On/Off/-1/1/0; dates the user's short
// format, the medium format, ISO and a few common forms; money and numbers allow a
// currency sign, a sign, grouping and parentheses for negative amounts; grouping must be
// in threes ("1,234.50"), so "1,2,3" is not read as 123.
QVariant parseCell(const QString& text, store::FieldType type);

// True when a typed text reads as a number (currency sign, sign, decimal point and
// grouping allowed): the rule the windows use to refuse letters in amount cells.
bool isNumericText(const QString& text);

// A text for a one-line field: line breaks (pasted with the text) become single blanks
// between the lines, and none are left at either end: "Rose & Co\nFlorists" ->
// "Rose & Co Florists".
QString oneLineText(const QString& text);

// The numeric value of a cell value as money (Currency, Number, a numeric text); 0 for
// Null and text that is not a number.
store::Currency moneyOf(const QVariant& value);

}  // namespace controls
