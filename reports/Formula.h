// Record-selection formulas: conditions on the fields of a report, written as
//   {Guests.ShowerGuest} = True
//   {Expenses.Owing} > 0 and not ({Guests.tableid} = 0 or {Guests.Confirmed} = False)
// A formula is parsed into a tree, checked against the tables the report reads, and
// turned into an SQL condition whose values are all bound parameters: no text of the
// formula ever becomes SQL. In a comparison a field that holds nothing counts as its
// type's empty value (No, 0, empty text), so "not invited" includes an unset mark.
#pragma once

#include "reports/Catalog.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

namespace reports {

struct SqlCondition {
    QString sql;          // "" when there is no condition
    QVariantList params;  // qint64 or double, one per "?" in sql, in order
};

class Formula {
public:
    struct Node;

    Formula() = default;
    // Reads a formula; blank text is the empty formula (every row). Throws ReportError
    // with a description of what cannot be read and where.
    static Formula parse(const QString& text);

    bool isEmpty() const { return !root_; }
    QString text() const { return text_; }

    // Checks every field against the catalog, limited to `tables`, and the types of
    // each comparison; returns the SQL condition. Throws ReportError.
    SqlCondition toSql(const Catalog& catalog, const QStringList& tables) const;


    static constexpr int MaxLength = 4000;
    static constexpr int MaxDepth = 64;

private:
    std::shared_ptr<const Node> root_;
    QString text_;
};

}  // namespace reports
