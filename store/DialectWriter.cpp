#include "store/DialectWriter.h"

#include "store/Currency.h"

namespace store::dialect::detail {

namespace {

bool isNumericKind(Kind k)
{
    return k == Kind::Number || k == Kind::Currency || k == Kind::Bool;
}

QString asUnits(const Expr& e)
{
    return '(' + wrap(e) + " / 10000.0)";
}

// Jet LIKE patterns: * any text, ? one character, # one digit, [x] the character x.
QString likePattern(const QString& jet)
{
    QString out;
    for (int i = 0; i < jet.size(); ++i) {
        const QChar c = jet.at(i);
        if (c == '*') {
            out += '%';
        } else if (c == '?' || c == '#') {
            out += '_';
        } else if (c == '[' && i + 2 < jet.size() && jet.at(i + 2) == ']') {
            const QChar lit = jet.at(i + 1);
            if (lit == '%' || lit == '_' || lit == '\\')
                out += '\\';
            out += lit;
            i += 2;
        } else if (c == '%' || c == '_' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

// An operator whose result is Yes/No.
Expr condition(const QString& sql, bool aggregate = false)
{
    Expr e;
    e.sql = sql;
    e.kind = Kind::Bool;
    e.compound = true;
    e.aggregate = aggregate;
    return e;
}

}  // namespace

QString wrap(const Expr& e)
{
    return e.compound ? '(' + e.sql + ')' : e.sql;
}

const QHash<QString, FunctionForm>& functions()
{
    static const QHash<QString, FunctionForm> table = {
        {"trim", {"trim", 1, 1, Kind::Text}},
        {"ltrim", {"ltrim", 1, 1, Kind::Text}},
        {"rtrim", {"rtrim", 1, 1, Kind::Text}},
        {"ucase", {"upper", 1, 1, Kind::Text}},
        {"lcase", {"lower", 1, 1, Kind::Text}},
        {"len", {"length", 1, 1, Kind::Number}},
        {"left", {"substr(%1, 1, %2)", 2, 2, Kind::Text}},
        {"right", {"substr(%1, -(%2))", 2, 2, Kind::Text}},
        {"mid", {"substr", 2, 3, Kind::Text}},
        {"instr", {"instr", 2, 2, Kind::Number}},
        {"nz", {"ifnull", 1, 2, Kind::Unknown}},
        {"iif", {"iif", 3, 3, Kind::Unknown}},
        {"abs", {"abs", 1, 1, Kind::Unknown}},
        {"round", {"round", 1, 2, Kind::Unknown}},
        {"int", {"floor", 1, 1, Kind::Number}},
        {"cstr", {"CAST(%1 AS TEXT)", 1, 1, Kind::Text}},
        {"str", {"CAST(%1 AS TEXT)", 1, 1, Kind::Text}},
        {"cdbl", {"CAST(%1 AS REAL)", 1, 1, Kind::Number}},
        {"val", {"CAST(%1 AS REAL)", 1, 1, Kind::Number}},
        {"clng", {"CAST(round(%1) AS INTEGER)", 1, 1, Kind::Number}},
        {"cint", {"CAST(round(%1) AS INTEGER)", 1, 1, Kind::Number}},
        {"now", {"datetime('now', 'localtime')", 0, 0, Kind::Date}},
        {"date", {"(date('now', 'localtime') || ' 00:00:00')", 0, 0, Kind::Date}},
        {"year", {"CAST(strftime('%Y', %1) AS INTEGER)", 1, 1, Kind::Number}},
        {"month", {"CAST(strftime('%m', %1) AS INTEGER)", 1, 1, Kind::Number}},
        {"day", {"CAST(strftime('%d', %1) AS INTEGER)", 1, 1, Kind::Number}},
        {"count", {"count", 1, 1, Kind::Number, true}},
        {"sum", {"sum", 1, 1, Kind::Unknown, true}},
        {"avg", {"avg", 1, 1, Kind::Unknown, true}},
        {"min", {"min", 1, 1, Kind::Unknown, true}},
        {"max", {"max", 1, 1, Kind::Unknown, true}},
    };
    return table;
}

QString functionKey(const QString& name)
{
    QString key = name.toLower();
    if (key.endsWith('$'))
        key.chop(1);
    return key;
}

// A number literal in the stored scale of a currency column.
std::optional<QString> scaledLiteral(const Expr& e)
{
    if (!e.numberLiteral)
        return std::nullopt;
    const auto value = Currency::parse(e.sql.trimmed().remove('(').remove(')').remove(' '));
    if (!value)
        return std::nullopt;
    return QString::number(value->raw());
}

Expr binary(const Expr& l, const QString& op, const Expr& r, Kind kind)
{
    Expr e;
    e.sql = wrap(l) + ' ' + op + ' ' + wrap(r);
    e.kind = kind;
    e.compound = true;
    e.aggregate = l.aggregate || r.aggregate;
    return e;
}

Expr comparison(Expr l, QString op, Expr r)
{
    if (op == "==")
        op = "=";
    if (op == "!=")
        op = "<>";
    // Currency columns hold ten-thousandths: compare literals in that scale.
    if (l.kind == Kind::Currency && r.kind != Kind::Currency) {
        if (auto scaled = scaledLiteral(r))
            r.sql = *scaled, r.compound = false;
        else if (isNumericKind(r.kind))
            l.sql = asUnits(l), l.compound = false;
    } else if (r.kind == Kind::Currency && l.kind != Kind::Currency) {
        if (auto scaled = scaledLiteral(l))
            l.sql = *scaled, l.compound = false;
        else if (isNumericKind(l.kind))
            r.sql = asUnits(r), r.compound = false;
    }
    // Yes/No fields hold 1 for True; the dialect's True is also written -1.
    if (l.kind == Kind::Bool && r.numberLiteral && r.sql == "-1")
        r.sql = "1";
    if (r.kind == Kind::Bool && l.numberLiteral && l.sql == "-1")
        l.sql = "1";
    // Texts compare without regard to case.
    if (l.kind == Kind::Text || r.kind == Kind::Text) {
        r.sql = wrap(r) + " COLLATE NOCASE";
        r.compound = false;
    }
    return binary(l, op, r, Kind::Bool);
}

Expr exclusiveOr(const Expr& l, const Expr& r)
{
    return condition("(" + wrap(l) + " <> 0) <> (" + wrap(r) + " <> 0)");
}

Expr negation(const Expr& inner)
{
    return condition("NOT " + wrap(inner), inner.aggregate);
}

Expr like(const Expr& l, bool negated, const Expr& pattern)
{
    const QString neg = negated ? QStringLiteral("NOT ") : QString();
    if (pattern.stringLiteral)
        return condition(wrap(l) + ' ' + neg + "LIKE " + quoteLiteral(likePattern(pattern.name)) +
                         " ESCAPE '\\'");
    return condition(wrap(l) + ' ' + neg + "LIKE " + wrap(pattern));
}

Expr nullTest(const Expr& l, bool isNot)
{
    return condition(wrap(l) + (isNot ? " IS NOT NULL" : " IS NULL"));
}

Expr inList(const Expr& l, bool negated, const Expr& list)
{
    return condition(wrap(l) + ' ' + (negated ? QStringLiteral("NOT ") : QString()) + "IN " + list.sql);
}

Expr between(const Expr& l, bool negated, Expr lo, Expr hi)
{
    if (l.kind == Kind::Currency) {
        if (auto s = scaledLiteral(lo))
            lo.sql = *s;
        if (auto s = scaledLiteral(hi))
            hi.sql = *s;
    }
    return condition(wrap(l) + ' ' + (negated ? QStringLiteral("NOT ") : QString()) + "BETWEEN " + wrap(lo) +
                     " AND " + wrap(hi));
}

Expr ampersand(const Expr& l, const Expr& r)
{
    Expr e;
    e.sql = "orv_amp(" + l.sql + ", " + r.sql + ")";
    e.kind = Kind::Text;
    e.aggregate = l.aggregate || r.aggregate;
    return e;
}

// A Null part makes the whole Null.
Expr plus(Expr l, Expr r)
{
    if (l.kind == Kind::Text || r.kind == Kind::Text)
        return binary(l, QStringLiteral("||"), r, Kind::Text);
    return arithmetic(l, QStringLiteral("+"), r);
}

Expr arithmetic(Expr l, const QString& op, Expr r)
{
    if (l.kind == Kind::Currency && r.kind == Kind::Currency)
        return binary(l, op, r, Kind::Currency);
    if (l.kind == Kind::Currency || r.kind == Kind::Currency) {
        Expr& cur = l.kind == Kind::Currency ? l : r;
        Expr& other = l.kind == Kind::Currency ? r : l;
        if (auto scaled = scaledLiteral(other)) {
            other.sql = *scaled;
            other.compound = false;
            return binary(l, op, r, Kind::Currency);
        }
        cur.sql = asUnits(cur);
        cur.compound = false;
        return binary(l, op, r, Kind::Number);
    }
    if (isNumericKind(l.kind) && isNumericKind(r.kind))
        return binary(l, op, r, Kind::Number);
    if (op == "+") {
        Expr e;
        e.sql = "orv_add(" + l.sql + ", " + r.sql + ")";
        e.aggregate = l.aggregate || r.aggregate;
        return e;
    }
    return binary(l, op, r, Kind::Unknown);
}

Expr product(const Expr& l, const QString& op, const Expr& r)
{
    Kind kind = Kind::Unknown;
    if (l.kind == Kind::Currency && r.kind != Kind::Currency)
        kind = Kind::Currency;
    else if (r.kind == Kind::Currency && l.kind != Kind::Currency && op == "*")
        kind = Kind::Currency;
    else if (isNumericKind(l.kind) && isNumericKind(r.kind))
        kind = Kind::Number;
    if (op == "/" && kind != Kind::Currency) {
        // The dialect's / always divides as real numbers.
        Expr e = binary(l, op, r, kind == Kind::Unknown ? Kind::Unknown : Kind::Number);
        e.sql = "CAST(" + wrap(l) + " AS REAL) / " + wrap(r);
        return e;
    }
    return binary(l, op, r, kind);
}

Expr integerDivision(const Expr& l, const Expr& r)
{
    Expr e;
    e.sql = "CAST(" + wrap(l) + " / " + wrap(r) + " AS INTEGER)";
    e.kind = Kind::Number;
    return e;
}

Expr minus(const Expr& inner)
{
    Expr e = inner;
    e.sql = "-" + wrap(inner);
    e.compound = false;
    if (inner.numberLiteral && inner.sql.startsWith('-'))
        e.sql = "-(" + inner.sql + ")", e.numberLiteral = false;
    return e;
}

Expr power(const Expr& l, const Expr& r)
{
    Expr e;
    e.sql = "pow(" + l.sql + ", " + r.sql + ")";
    e.kind = Kind::Number;
    return e;
}

Expr call(const FunctionForm& form, const QString& key, const QStringList& args,
          const std::vector<Expr>& exprs, bool distinct)
{
    Expr e;
    if (form.sqlite.contains('%')) {
        QString sql = form.sqlite;
        for (int k = 0; k < args.size(); ++k)
            sql.replace(QStringLiteral("%%1").arg(k + 1), args[k]);
        e.sql = sql;
    } else {
        e.sql =
            form.sqlite + '(' + (distinct ? QStringLiteral("DISTINCT ") : QString()) + args.join(", ") + ')';
    }
    e.kind = form.kind;
    if (form.kind == Kind::Unknown && !exprs.empty())
        e.kind = key == "iif" && exprs.size() > 1 ? exprs[1].kind : exprs[0].kind;
    e.aggregate = form.aggregate;
    for (const Expr& a : exprs)
        e.aggregate = e.aggregate || a.aggregate;
    return e;
}

}  // namespace store::dialect::detail
