// The desktop SQL dialect and its translation into SQLite SQL.
//
// The windows write bracketed names, double-quoted string literals, `+` joining texts,
// Trim$(), True/False, #date# literals and `*`/`?` LIKE patterns. The translator tokenizes
// the text, parses expressions with the dialect's operator precedence and writes SQLite
// SQL in which every name is a quoted identifier and every literal a single-quoted string,
// so no text a user typed can end a statement or start another one.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace store::dialect {

// What the translator knows of a value's kind; it decides how `+` and comparisons with
// currency columns are written.
enum class Kind { Unknown, Text, Number, Currency, Bool, Date };

// Tells the kind of a named column. tables: the tables the statement names (empty for a
// condition or sort); qualifier: the part before the dot ("" when none).
using Resolver =
    std::function<Kind(const QStringList& tables, const QString& qualifier, const QString& name)>;

// The clauses of a SELECT over a single table, already translated; filled when the
// statement is such a SELECT (no join, grouping, aggregate, DISTINCT or compound).
struct SimpleSelect {
    QString selectList;
    QStringList items;  // the select list item by item ("expression AS alias"); empty after a *
    QString table;      // the base table as written (unquoted)
    QString qualifier;  // alias or table name, unquoted: used to qualify rowid
    QString where;      // "" when none
    QString orderBy;    // "" when none
};

struct Translation {
    QString sql;
    QStringList tables;             // tables and views named after FROM/JOIN/INTO/UPDATE
    std::vector<Kind> resultKinds;  // kinds of the top-level select list (empty after a *)
    std::optional<SimpleSelect> simple;
    bool isSelect = false;
};

// Whole statements (SELECT, INSERT, UPDATE, DELETE). Throws StoreError 3075.
Translation translateStatement(const QString& text, const Resolver& resolver = {});
// One boolean expression (a find or filter condition).
QString translateCondition(const QString& text, const Resolver& resolver = {});
// A sort text: expressions each optionally followed by ASC or DESC, comma-separated.
QString translateSort(const QString& text, const Resolver& resolver = {});

// SQLite identifier and literal quoting.
QString quoteIdentifier(const QString& name);
QString quoteLiteral(const QString& text);

// Reads a date or date-time text: ISO ("2024-12-25", "2024-12-25 10:30:00"), month/day/year
// ("12/25/2024", "12/25/2024 3:30 PM") and the current locale's short and long forms.
// A date without time is midnight. Invalid (nullopt) when the text is no date.
std::optional<QDateTime> parseDateTimeText(const QString& text);
// The stored form of a date-time: 'YYYY-MM-DD HH:MM:SS'.
QString storedDateText(const QDateTime& value);

// The kind a declared column type stands for.
Kind kindOfDeclaredType(const QString& declaredType);

}  // namespace store::dialect
