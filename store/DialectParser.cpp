#include "store/DialectParser.h"

namespace store::dialect::detail {

Parser::Parser(std::vector<Token> tokens, const Resolver& resolver)
    : t_(std::move(tokens)), resolver_(resolver)
{
    collectTables();
}

// ---------------------------------------------------------------------------------------
// Tokens

const Token& Parser::next()
{
    const Token& t = peek();
    if (i_ < t_.size() - 1)
        ++i_;
    return t;
}
void Parser::expectOp(const char* op)
{
    if (!peekOp(op))
        throw SyntaxError(QStringLiteral("'%1' expected").arg(QLatin1String(op)));
    ++i_;
}
void Parser::expectEnd()
{
    if (peekOp(";") && peek(1).type == T::End)
        ++i_;
    if (peek().type != T::End)
        throw SyntaxError(QStringLiteral("unexpected text at '%1'").arg(describe(peek())));
}
QString Parser::describe(const Token& t)
{
    switch (t.type) {
        case T::End:
            return QStringLiteral("the end");
        case T::String:
            return '"' + t.text + '"';
        case T::Bracket:
            return '[' + t.text + ']';
        default:
            return t.text;
    }
}
bool Parser::atClauseKeyword() const
{
    const Token& t = peek();
    if (t.type != T::Ident || !clauseKeywords().contains(t.text, Qt::CaseInsensitive))
        return false;
    // LEFT( and the like are function calls.
    return !(peekOp("(", 1) && functions().contains(functionKey(t.text)));
}

void Parser::enterNesting()
{
    if (++depth_ > 200)
        throw SyntaxError(QStringLiteral("the text is nested too deeply"));
}

// ---------------------------------------------------------------------------------------
// Statements and clauses

Translation Parser::statement()
{
    const Token& first = peek();
    if (!(isKeyword(first, "SELECT") || isKeyword(first, "INSERT") || isKeyword(first, "UPDATE") ||
          isKeyword(first, "DELETE")))
        throw SyntaxError(QStringLiteral("a statement begins with SELECT, INSERT, UPDATE or DELETE"));
    out_.isSelect = isKeyword(first, "SELECT");
    out_.sql = statementBody(false, true);
    out_.tables = tables_;
    if (top_.star)
        out_.resultKinds.clear();
    else
        out_.resultKinds = top_.kinds;
    if (out_.isSelect && top_.simple && top_.fromNames.size() == 1 && !top_.fromAlias.isNull())
        out_.simple = simpleSelect();
    return out_;
}

// The clauses of a SELECT over one table, for record sets that read it by key.
SimpleSelect Parser::simpleSelect() const
{
    SimpleSelect s;
    s.selectList = top_.selectList.join(' ');
    if (!top_.star) {
        QStringList item;
        for (const QString& part : top_.selectList) {
            if (part == QLatin1String(",")) {
                s.items << item.join(' ');
                item.clear();
            } else {
                item << part;
            }
        }
        s.items << item.join(' ');
    }
    s.table = top_.fromNames.first();
    s.qualifier = top_.fromAlias.isEmpty() ? s.table : top_.fromAlias;
    s.where = top_.where.join(' ');
    s.orderBy = top_.order.join(' ');
    return s;
}

QString Parser::condition()
{
    if (peek().type == T::End)
        throw SyntaxError(QStringLiteral("the condition is empty"));
    const Expr e = expression();
    expectEnd();
    return e.sql;
}

QString Parser::sort()
{
    QStringList items;
    for (;;) {
        const Expr e = expression();
        QString item = e.sql;
        if (isKeyword(peek(), "ASC") || isKeyword(peek(), "DESC"))
            item += ' ' + next().text.toUpper();
        items << item;
        if (peekOp(","))
            ++i_;
        else
            break;
    }
    expectEnd();
    return items.join(", ");
}

void Parser::collectTables()
{
    for (size_t k = 0; k + 1 < t_.size(); ++k) {
        if (isKeyword(t_[k], "FROM") || isKeyword(t_[k], "JOIN") || isKeyword(t_[k], "INTO") ||
            isKeyword(t_[k], "UPDATE")) {
            const Token& n = t_[k + 1];
            if ((n.type == T::Ident || n.type == T::Bracket) &&
                !(n.type == T::Ident && clauseKeywords().contains(n.text, Qt::CaseInsensitive)))
                tables_ << n.text;
        }
    }
}

Kind Parser::columnKind(const QString& qualifier, const QString& name) const
{
    return resolver_ ? resolver_(tables_, qualifier, name) : Kind::Unknown;
}

// A statement, up to its end or (inside parentheses) the closing parenthesis.
QString Parser::statementBody(bool nested, bool top)
{
    QStringList parts;
    Clause clause = Clause::None;
    QString limit;
    auto record = [&](const QString& text) {
        parts << text;
        if (!top)
            return;
        switch (clause) {
            case Clause::Select:
                top_.selectList << text;
                break;
            case Clause::Where:
                top_.where << text;
                break;
            case Clause::Order:
                top_.order << text;
                break;
            default:
                break;
        }
    };
    enterNesting();
    for (;;) {
        const Token& tok = peek();
        if (tok.type == T::End)
            break;
        if (tok.type == T::Op && tok.text == ")") {
            if (nested)
                break;
            throw SyntaxError(QStringLiteral("')' without '('"));
        }
        if (tok.type == T::Op && tok.text == ";") {
            if (!nested && peek(1).type == T::End) {
                ++i_;
                break;
            }
            throw SyntaxError(QStringLiteral("only one statement is allowed"));
        }
        if (tok.type == T::Op && tok.text == ",") {
            ++i_;
            record(QStringLiteral(","));
            if (top && clause == Clause::From)
                top_.simple = false;
            continue;
        }
        if (tok.type == T::Op && tok.text == "*" && !(clause == Clause::Where || clause == Clause::Having)) {
            ++i_;
            record(QStringLiteral("*"));
            if (top && clause == Clause::Select)
                top_.star = true;
            continue;
        }
        if (atClauseKeyword()) {
            const QString word = next().text.toUpper();
            if (word == "SELECT") {
                if (top && clause != Clause::None)
                    top_.simple = false;
                clause = Clause::Select;
                parts << word;
                if (isKeyword(peek(), "DISTINCTROW") || isKeyword(peek(), "DISTINCT")) {
                    ++i_;
                    parts << QStringLiteral("DISTINCT");
                    if (top)
                        top_.simple = false;
                } else if (isKeyword(peek(), "ALL")) {
                    ++i_;
                }
                if (isKeyword(peek(), "TOP")) {
                    ++i_;
                    if (peek().type != T::Number || !top || peek().text.contains('.'))
                        throw SyntaxError(QStringLiteral("TOP needs a whole number"));
                    limit = next().text;
                }
                continue;
            }
            if (word == "AS") {
                parts << word;
                const Token& alias = next();
                if (alias.type != T::Ident && alias.type != T::Bracket && alias.type != T::String)
                    throw SyntaxError(QStringLiteral("a name must follow AS"));
                const QString quoted = quoteIdentifier(alias.text);
                parts << quoted;
                if (top && clause == Clause::Select)
                    top_.selectList << word << quoted;
                if (top && clause == Clause::From)
                    top_.fromAlias = alias.text;
                continue;
            }
            if (word == "GROUP" || word == "ORDER") {
                if (!isKeyword(peek(), "BY"))
                    throw SyntaxError(QStringLiteral("BY must follow %1").arg(word));
                ++i_;
                clause = word == "GROUP" ? Clause::Group : Clause::Order;
                parts << word + " BY";
                if (top && word == "GROUP")
                    top_.simple = false;
                continue;
            }
            if (word == "DELETE") {
                parts << word;
                clause = Clause::Other;
                if (peekOp("*"))
                    ++i_;
                continue;
            }
            if (word == "FROM") {
                clause = Clause::From;
                if (top)
                    top_.fromAlias = QStringLiteral("");
            } else if (word == "WHERE") {
                clause = Clause::Where;
            } else if (word == "HAVING") {
                clause = Clause::Having;
                if (top)
                    top_.simple = false;
            } else if (word == "ASC" || word == "DESC") {
                record(word);
                continue;
            } else if (word == "DISTINCTROW") {
                parts << QStringLiteral("DISTINCT");
                continue;
            } else if (word == "TOP") {
                throw SyntaxError(QStringLiteral("TOP must follow SELECT"));
            } else if (word == "WHEN" || word == "THEN" || word == "ELSE" || word == "END" || word == "AND" ||
                       word == "OR" || word == "XOR" || word == "NOT" || word == "IS" || word == "LIKE" ||
                       word == "IN" || word == "BETWEEN" || word == "MOD" || word == "ESCAPE" ||
                       word == "BY") {
                throw SyntaxError(QStringLiteral("unexpected %1").arg(word));
            } else {
                clause = Clause::Other;
                if (top && (word == "UNION" || word == "EXCEPT" || word == "INTERSECT" || word == "JOIN" ||
                            word == "INNER" || word == "LEFT" || word == "RIGHT" || word == "CROSS" ||
                            word == "NATURAL" || word == "OUTER" || word == "ON" || word == "LIMIT"))
                    top_.simple = false;
            }
            parts << word;
            continue;
        }
        const Expr e = expression();
        record(e.sql);
        if (top && clause == Clause::Select) {
            top_.kinds.push_back(e.kind);
            if (e.aggregate)
                top_.simple = false;
        }
        if (top && clause == Clause::From) {
            if (top_.fromNames.isEmpty() && !e.name.isEmpty() && !e.compound)
                top_.fromNames << e.name;
            else if (top_.fromAlias.isEmpty() && !e.name.isEmpty() && top_.fromNames.size() == 1)
                top_.fromAlias = e.name;
            else
                top_.simple = false;
        }
    }
    --depth_;
    if (!limit.isEmpty())
        parts << "LIMIT" << limit;
    return parts.join(' ');
}

}  // namespace store::dialect::detail
