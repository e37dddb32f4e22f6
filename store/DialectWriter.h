// Writing SQLite SQL for the dialect's expressions. Each rule takes the parts already
// written, with what is known of their kind, and writes the whole: names quoted, literals
// single-quoted, `+` as `||` between texts, currency literals in the stored scale, texts
// compared without regard to case, and the dialect's functions in their SQLite form.
#pragma once

#include "store/Dialect.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace store::dialect::detail {

// An expression as written so far.
struct Expr {
    QString sql;
    Kind kind = Kind::Unknown;
    bool compound = false;       // needs parentheses as an operand
    bool numberLiteral = false;  // a plain number, possibly negated
    bool stringLiteral = false;
    bool aggregate = false;
    QString name;  // last part of a plain column reference
};

// The expression as an operand: in parentheses when compound.
QString wrap(const Expr& e);

// Functions of the dialect and how each is written for SQLite. %1, %2... are the
// arguments; an entry without placeholders is a plain rename.
struct FunctionForm {
    QString sqlite;
    int minArgs;
    int maxArgs;
    Kind kind;  // Kind::Unknown: the kind of the first argument
    bool aggregate = false;
};

const QHash<QString, FunctionForm>& functions();
// The table's key of a function name: lower case, without a trailing `$`.
QString functionKey(const QString& name);

// A number literal in the stored scale of a currency column; nullopt for anything else.
std::optional<QString> scaledLiteral(const Expr& e);

// Operators. Each returns the whole expression with its kind.
Expr binary(const Expr& l, const QString& op, const Expr& r, Kind kind);
Expr comparison(Expr l, QString op, Expr r);  // = <> < > <= >= (also != and ==)
Expr exclusiveOr(const Expr& l, const Expr& r);
Expr negation(const Expr& inner);  // NOT
Expr like(const Expr& l, bool negated, const Expr& pattern);
Expr nullTest(const Expr& l, bool isNot);
Expr inList(const Expr& l, bool negated, const Expr& list);
Expr between(const Expr& l, bool negated, Expr lo, Expr hi);
Expr ampersand(const Expr& l, const Expr& r);  // & joins texts, Null as ""
Expr plus(Expr l, Expr r);                     // `+` adds numbers and joins texts
Expr arithmetic(Expr l, const QString& op, Expr r);
Expr product(const Expr& l, const QString& op, const Expr& r);  // * and /
Expr integerDivision(const Expr& l, const Expr& r);             // backslash
Expr minus(const Expr& inner);                                  // unary -
Expr power(const Expr& l, const Expr& r);                       // ^
// A function call, its arguments already written ("*" for count(*)).
Expr call(const FunctionForm& form, const QString& key, const QStringList& args,
          const std::vector<Expr>& exprs, bool distinct);

}  // namespace store::dialect::detail
