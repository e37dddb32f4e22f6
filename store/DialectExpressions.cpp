// The expression half of the parser: one function per level of the dialect's operator
// precedence, loosest first, each handing the parts it read to the writer's rules.
#include "store/DialectParser.h"

namespace store::dialect::detail {

Expr Parser::expression()
{
    enterNesting();
    Expr e = orExpr();
    --depth_;
    return e;
}

Expr Parser::orExpr()
{
    Expr l = andExpr();
    for (;;) {
        if (isKeyword(peek(), "OR")) {
            ++i_;
            l = binary(l, QStringLiteral("OR"), andExpr(), Kind::Bool);
        } else if (isKeyword(peek(), "XOR")) {
            ++i_;
            l = exclusiveOr(l, andExpr());
        } else {
            return l;
        }
    }
}

Expr Parser::andExpr()
{
    Expr l = notExpr();
    while (isKeyword(peek(), "AND")) {
        ++i_;
        l = binary(l, QStringLiteral("AND"), notExpr(), Kind::Bool);
    }
    return l;
}

Expr Parser::notExpr()
{
    if (isKeyword(peek(), "NOT")) {
        ++i_;
        enterNesting();
        const Expr inner = notExpr();
        --depth_;
        return negation(inner);
    }
    return comparisonExpr();
}

Expr Parser::comparisonExpr()
{
    Expr l = concatExpr();
    for (;;) {
        const Token& t = peek();
        if (t.type == T::Op && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" ||
                                t.text == "<=" || t.text == ">=" || t.text == "!=" || t.text == "==")) {
            const QString op = next().text;
            l = comparison(l, op, concatExpr());
            continue;
        }
        bool negated = false;
        if (isKeyword(t, "NOT") &&
            (isKeyword(peek(1), "LIKE") || isKeyword(peek(1), "IN") || isKeyword(peek(1), "BETWEEN"))) {
            negated = true;
            ++i_;
        }
        if (isKeyword(peek(), "LIKE")) {
            ++i_;
            l = like(l, negated, concatExpr());
            continue;
        }
        if (isKeyword(peek(), "IS")) {
            ++i_;
            bool isNot = false;
            if (isKeyword(peek(), "NOT")) {
                ++i_;
                isNot = true;
            }
            if (!isKeyword(peek(), "NULL"))
                throw SyntaxError(QStringLiteral("IS must be followed by NULL or NOT NULL"));
            ++i_;
            l = nullTest(l, isNot);
            continue;
        }
        if (isKeyword(peek(), "IN")) {
            ++i_;
            if (!peekOp("("))
                throw SyntaxError(QStringLiteral("IN needs a list in parentheses"));
            l = inList(l, negated, parenthesized(l.kind));
            continue;
        }
        if (isKeyword(peek(), "BETWEEN")) {
            ++i_;
            Expr lo = concatExpr();
            if (!isKeyword(peek(), "AND"))
                throw SyntaxError(QStringLiteral("BETWEEN needs AND"));
            ++i_;
            l = between(l, negated, lo, concatExpr());
            continue;
        }
        if (negated)
            throw SyntaxError(QStringLiteral("NOT in the wrong place"));
        return l;
    }
}

Expr Parser::concatExpr()
{
    Expr l = additive();
    while (peekOp("&")) {
        ++i_;
        l = ampersand(l, additive());
    }
    return l;
}

Expr Parser::additive()
{
    Expr l = modExpr();
    for (;;) {
        if (peekOp("+")) {
            ++i_;
            l = plus(l, modExpr());
        } else if (peekOp("-")) {
            ++i_;
            l = arithmetic(l, QStringLiteral("-"), modExpr());
        } else {
            return l;
        }
    }
}

Expr Parser::modExpr()
{
    Expr l = intDivExpr();
    while (isKeyword(peek(), "MOD")) {
        ++i_;
        l = binary(l, QStringLiteral("%"), intDivExpr(), Kind::Number);
    }
    return l;
}

Expr Parser::intDivExpr()
{
    Expr l = multiplicative();
    while (peekOp("\\")) {
        ++i_;
        l = integerDivision(l, multiplicative());
    }
    return l;
}

Expr Parser::multiplicative()
{
    Expr l = unary();
    for (;;) {
        if (peekOp("*") || peekOp("/")) {
            const QString op = next().text;
            l = product(l, op, unary());
        } else if (peekOp("%")) {
            ++i_;
            l = binary(l, QStringLiteral("%"), unary(), Kind::Number);
        } else {
            return l;
        }
    }
}

Expr Parser::unary()
{
    if (peekOp("-") || peekOp("+")) {
        const QString op = next().text;
        enterNesting();
        Expr inner = unary();
        --depth_;
        return op == "+" ? inner : minus(inner);
    }
    return powerExpr();
}

Expr Parser::powerExpr()
{
    Expr l = primary();
    while (peekOp("^")) {
        ++i_;
        l = power(l, primary());
    }
    return l;
}

// "(" expression [, expression]... ")" or "(" SELECT ... ")".
Expr Parser::parenthesized(Kind listKind)
{
    expectOp("(");
    Expr e;
    if (isKeyword(peek(), "SELECT")) {
        e.sql = '(' + statementBody(true, false) + ')';
    } else {
        QStringList items;
        Expr first;
        for (;;) {
            Expr item = expression();
            if (listKind == Kind::Currency)
                if (auto s = scaledLiteral(item))
                    item.sql = *s;
            if (items.isEmpty())
                first = item;
            items << item.sql;
            if (!peekOp(","))
                break;
            ++i_;
        }
        e = first;
        e.sql = '(' + items.join(", ") + ')';
        e.compound = false;
        e.stringLiteral = false;
        e.numberLiteral = first.numberLiteral && items.size() == 1;
        e.name.clear();
    }
    expectOp(")");
    return e;
}

Expr Parser::functionCall(const QString& name)
{
    const QString key = functionKey(name);
    const auto it = functions().constFind(key);
    if (it == functions().cend())
        throw SyntaxError(QStringLiteral("unknown function '%1'").arg(name));
    const FunctionForm& form = *it;
    expectOp("(");
    QStringList args;
    std::vector<Expr> exprs;
    bool distinct = false;
    if (form.aggregate && isKeyword(peek(), "DISTINCT")) {
        ++i_;
        distinct = true;
    }
    if (key == "count" && peekOp("*")) {
        ++i_;
        args << QStringLiteral("*");
    } else if (!peekOp(")")) {
        for (;;) {
            exprs.push_back(expression());
            args << exprs.back().sql;
            if (!peekOp(","))
                break;
            ++i_;
        }
    }
    expectOp(")");
    if (args.size() < form.minArgs || args.size() > form.maxArgs)
        throw SyntaxError(QStringLiteral("wrong number of arguments for %1").arg(name));
    return call(form, key, args, exprs, distinct);
}

Expr Parser::caseExpr()
{
    QStringList parts{QStringLiteral("CASE")};
    Kind kind = Kind::Unknown;
    if (!isKeyword(peek(), "WHEN"))
        parts << wrap(expression());
    while (isKeyword(peek(), "WHEN")) {
        ++i_;
        parts << "WHEN" << wrap(expression());
        if (!isKeyword(peek(), "THEN"))
            throw SyntaxError(QStringLiteral("CASE needs THEN"));
        ++i_;
        const Expr v = expression();
        kind = v.kind;
        parts << "THEN" << wrap(v);
    }
    if (isKeyword(peek(), "ELSE")) {
        ++i_;
        parts << "ELSE" << wrap(expression());
    }
    if (!isKeyword(peek(), "END"))
        throw SyntaxError(QStringLiteral("CASE needs END"));
    ++i_;
    parts << "END";
    Expr e;
    e.sql = parts.join(' ');
    e.kind = kind;
    return e;
}

Expr Parser::primary()
{
    const Token tok = peek();
    Expr e;
    switch (tok.type) {
        case T::End:
            throw SyntaxError(QStringLiteral("an expression is missing at the end"));
        case T::Number:
            ++i_;
            e.sql = tok.text;
            e.kind = Kind::Number;
            e.numberLiteral = true;
            return e;
        case T::String:
            ++i_;
            e.sql = quoteLiteral(tok.text);
            e.kind = Kind::Text;
            e.stringLiteral = true;
            e.name = tok.text;  // the value, for LIKE patterns
            return e;
        case T::Date: {
            ++i_;
            const auto date = parseDateTimeText(tok.text);
            if (!date)
                throw SyntaxError(QStringLiteral("#%1# is not a date").arg(tok.text));
            e.sql = quoteLiteral(storedDateText(*date));
            e.kind = Kind::Date;
            return e;
        }
        case T::Param:
            ++i_;
            e.sql = tok.text;
            return e;
        case T::Op:
            if (tok.text == "(")
                return parenthesized();
            throw SyntaxError(QStringLiteral("an expression is missing before '%1'").arg(tok.text));
        case T::Ident:
        case T::Bracket:
            break;
    }
    if (tok.type == T::Ident) {
        const QString word = tok.text.toUpper();
        if (word == "TRUE") {
            ++i_;
            e.sql = QStringLiteral("1");
            e.kind = Kind::Bool;
            return e;
        }
        if (word == "FALSE") {
            ++i_;
            e.sql = QStringLiteral("0");
            e.kind = Kind::Bool;
            return e;
        }
        if (word == "NULL") {
            ++i_;
            e.sql = QStringLiteral("NULL");
            return e;
        }
        if (word == "EXISTS") {
            ++i_;
            if (!peekOp("(") || !isKeyword(peek(1), "SELECT"))
                throw SyntaxError(QStringLiteral("EXISTS needs a SELECT in parentheses"));
            e = parenthesized();
            e.sql = "EXISTS " + e.sql;
            e.kind = Kind::Bool;
            return e;
        }
        if (word == "CASE") {
            ++i_;
            return caseExpr();
        }
        if (peekOp("(", 1) && functions().contains(functionKey(tok.text))) {
            ++i_;
            return functionCall(tok.text);
        }
        if (atClauseKeyword())
            throw SyntaxError(QStringLiteral("an expression is missing before %1").arg(tok.text.toUpper()));
        if (tok.text.endsWith('$'))
            throw SyntaxError(QStringLiteral("'%1' is a function and needs parentheses").arg(tok.text));
    }
    return name(tok);
}

// A name, possibly qualified: Guests.LastName, [Guests].[LastName], Guests!LastName.
Expr Parser::name(const Token& tok)
{
    Expr e;
    QStringList names;
    QStringList quoted;
    names << tok.text;
    quoted << quoteIdentifier(tok.text);
    ++i_;
    while (peekOp(".") || peekOp("!")) {
        ++i_;
        const Token& part = peek();
        if (part.type == T::Op && part.text == "*") {
            ++i_;
            e.sql = quoted.join('.') + ".*";
            return e;
        }
        if (part.type != T::Ident && part.type != T::Bracket)
            throw SyntaxError(QStringLiteral("a name must follow '.'"));
        names << part.text;
        quoted << quoteIdentifier(part.text);
        ++i_;
    }
    if (names.size() > 3)
        throw SyntaxError(QStringLiteral("too many parts in the name %1").arg(names.join('.')));
    e.sql = quoted.join('.');
    e.name = names.last();
    e.kind = columnKind(names.size() > 1 ? names[names.size() - 2] : QString(), names.last());
    return e;
}

}  // namespace store::dialect::detail
