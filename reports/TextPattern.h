// The text of a report column, a group heading or a label line: literal text with fields
// in braces and optional parts in square brackets.
//   {Guests.Prefix} {Guests.FirstName} {Guests.LastName}
//   {Guests.City}[, {Guests.State}][  {Guests.PostalCode}]
// An optional part is printed only when every field in it has a value. A field may name
// a format after a colon: {Checklist.DueDate:date}, {Checklist.Done:check},
// {Guests.InvCeremony:mark=C}. "{{", "}}", "[[", "]]" stand for the bracket itself, "\n"
// for a line break.
#pragma once

#include "reports/Catalog.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace reports {

using Row = std::vector<QVariant>;

class TextPattern {
public:
    struct Piece {
        enum class Kind { Literal, Field, OptionalStart, OptionalEnd } kind = Kind::Literal;
        QString text;     // Literal: the text; Field: the format ("" = the type's own)
        FieldName name;   // Field
        int column = -1;  // Field: index of the value in a row, once bound
    };

    // Reads a pattern; throws ReportError describing what cannot be read.
    static TextPattern parse(const QString& text);

    // The one field when the pattern is exactly one field and nothing else.
    const Piece* singleField() const;
    bool isEmpty() const { return pieces_.empty(); }

    // Gives each field the index of its value in the rows to come.
    void bind(const std::function<int(const FieldName&)>& columnOf);
    QString evaluate(const Row& row) const;

private:
    std::vector<Piece> pieces_;
};

// A value as a report prints it. Formats: "" (the value's own: text as it is, Yes/No,
// an amount with its currency sign, a whole number, a short date), "date", "datetime",
// "currency", "number", "yesno", "check" (a tick when true), "mark=TEXT" (TEXT when true).
QString formatValue(const QVariant& value, const QString& format);
bool isKnownFormat(const QString& format);

}  // namespace reports
