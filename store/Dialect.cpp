#include "store/Dialect.h"

#include "store/Currency.h"
#include "store/StoreError.h"

#include <QHash>
#include <QLocale>

namespace store::dialect {

namespace {

// ---------------------------------------------------------------------------------------
// Tokens

enum class T { End, Ident, Bracket, String, Number, Date, Param, Op };

struct Token {
    T type = T::End;
    QString text;  // identifier/op as written, unquoted name, string value, number text
    int pos = 0;
};

class SyntaxError {
public:
    explicit SyntaxError(QString detail) : detail(std::move(detail)) {}
    QString detail;
};

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == '_';
}
bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    int i = 0;
    const int n = s.size();
    auto closing = [&](QChar open, QChar close, int start) {
        // Text up to the closing character; a doubled closing character stands for itself.
        QString value;
        int j = start + 1;
        for (;;) {
            if (j >= n)
                throw SyntaxError(QStringLiteral("%1 is not closed").arg(open));
            if (s.at(j) == close) {
                if (j + 1 < n && s.at(j + 1) == close && open == close) {
                    value += close;
                    j += 2;
                    continue;
                }
                break;
            }
            value += s.at(j++);
        }
        i = j + 1;
        return value;
    };
    while (i < n) {
        const QChar c = s.at(i);
        if (c.unicode() == 0)
            throw SyntaxError(QStringLiteral("the text holds a null character"));
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i;
        if (isIdentStart(c)) {
            int j = i + 1;
            while (j < n && isIdentPart(s.at(j)))
                ++j;
            if (j < n && s.at(j) == '$')
                ++j;
            t.type = T::Ident;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c == '[' || c == '`') {
            t.type = T::Bracket;
            t.text = closing(c, c == '[' ? QChar(']') : QChar('`'), i);
            if (t.text.trimmed().isEmpty())
                throw SyntaxError(QStringLiteral("an empty name in brackets"));
            if (t.text.contains('['))
                throw SyntaxError(QStringLiteral("a bracket inside a bracketed name"));
        } else if (c == '\'' || c == '"') {
            t.type = T::String;
            t.text = closing(c, c, i);
        } else if (c == '#') {
            t.type = T::Date;
            t.text = closing(c, QChar('#'), i);
        } else if (c.isDigit() || (c == '.' && i + 1 < n && s.at(i + 1).isDigit())) {
            int j = i;
            while (j < n && s.at(j).isDigit())
                ++j;
            if (j < n && s.at(j) == '.') {
                ++j;
                while (j < n && s.at(j).isDigit())
                    ++j;
            }
            if (j < n && (s.at(j) == 'e' || s.at(j) == 'E')) {
                int k = j + 1;
                if (k < n && (s.at(k) == '+' || s.at(k) == '-'))
                    ++k;
                if (k < n && s.at(k).isDigit()) {
                    while (k < n && s.at(k).isDigit())
                        ++k;
                    j = k;
                }
            }
            if (j < n && isIdentStart(s.at(j)))
                throw SyntaxError(QStringLiteral("a name may not start with a digit"));
            t.type = T::Number;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c == '?') {
            int j = i + 1;
            while (j < n && s.at(j).isDigit() && j - i < 4)
                ++j;
            t.type = T::Param;
            t.text = s.mid(i, j - i);
            i = j;
        } else {
            static const QStringList twoChar = {"<>", "<=", ">=", "!=", "==", "||"};
            const QString two = s.mid(i, 2);
            t.type = T::Op;
            if (twoChar.contains(two)) {
                t.text = two;
                i += 2;
            } else if (QStringLiteral("(),.;*+-/\\=<>&^%!").contains(c)) {
                t.text = c;
                ++i;
            } else {
                throw SyntaxError(QStringLiteral("the character '%1' is not allowed").arg(c));
            }
        }
        out.push_back(t);
    }
    Token end;
    end.pos = n;
    out.push_back(end);
    return out;
}

// ---------------------------------------------------------------------------------------
// Expressions

struct Expr {
    QString sql;
    Kind kind = Kind::Unknown;
    bool compound = false;       // needs parentheses as an operand
    bool numberLiteral = false;  // a plain number, possibly negated
    bool stringLiteral = false;
    bool aggregate = false;
    QString name;  // last part of a plain column reference
};

QString wrap(const Expr& e)
{
    return e.compound ? '(' + e.sql + ')' : e.sql;
}

const QStringList& clauseKeywords()
{
    static const QStringList words = {
        "SELECT", "FROM",     "WHERE",       "GROUP",   "BY",     "HAVING", "ORDER",     "ASC",   "DESC",
        "AS",     "DISTINCT", "DISTINCTROW", "ALL",     "UNION",  "EXCEPT", "INTERSECT", "INNER", "LEFT",
        "RIGHT",  "OUTER",    "CROSS",       "NATURAL", "JOIN",   "ON",     "INSERT",    "INTO",  "VALUES",
        "UPDATE", "SET",      "DELETE",      "LIMIT",   "OFFSET", "TOP",    "DEFAULT",   "USING", "WHEN",
        "THEN",   "ELSE",     "END",         "AND",     "OR",     "XOR",    "NOT",       "IS",    "LIKE",
        "IN",     "BETWEEN",  "MOD",         "ESCAPE"};
    return words;
}

bool isKeyword(const Token& t, const char* word)
{
    return t.type == T::Ident && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Functions of the dialect and how each is written for SQLite. %1, %2... are the
// arguments; an entry without placeholders is a plain rename.
struct FunctionForm {
    QString sqlite;
    int minArgs;
    int maxArgs;
    Kind kind;  // Kind::Unknown: the kind of the first argument
    bool aggregate = false;
};

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

bool isNumericKind(Kind k)
{
    return k == Kind::Number || k == Kind::Currency || k == Kind::Bool;
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

enum class Clause { None, Select, From, Where, Group, Having, Order, Other };

class Parser {
public:
    Parser(std::vector<Token> tokens, const Resolver& resolver) : t_(std::move(tokens)), resolver_(resolver)
    {
        collectTables();
    }

    Translation statement()
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
        if (out_.isSelect && top_.simple && top_.fromNames.size() == 1 && !top_.fromAlias.isNull()) {
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
            out_.simple = s;
        }
        return out_;
    }

    QString condition()
    {
        if (peek().type == T::End)
            throw SyntaxError(QStringLiteral("the condition is empty"));
        const Expr e = expression();
        expectEnd();
        return e.sql;
    }

    QString sort()
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

private:
    // What is known of the top-level SELECT.
    struct TopSelect {
        bool simple = true;
        bool star = false;
        std::vector<Kind> kinds;
        QStringList selectList, where, order;
        QStringList fromNames;
        QString fromAlias;  // null until FROM is read; "" when there is no alias
    };

    std::vector<Token> t_;
    size_t i_ = 0;
    const Resolver& resolver_;
    Translation out_;
    QStringList tables_;
    TopSelect top_;
    int depth_ = 0;

    const Token& peek(size_t ahead = 0) const { return t_[std::min(i_ + ahead, t_.size() - 1)]; }
    const Token& next()
    {
        const Token& t = peek();
        if (i_ < t_.size() - 1)
            ++i_;
        return t;
    }
    bool peekOp(const char* op, size_t ahead = 0) const
    {
        return peek(ahead).type == T::Op && peek(ahead).text == QLatin1String(op);
    }
    void expectOp(const char* op)
    {
        if (!peekOp(op))
            throw SyntaxError(QStringLiteral("'%1' expected").arg(QLatin1String(op)));
        ++i_;
    }
    void expectEnd()
    {
        if (peekOp(";") && peek(1).type == T::End)
            ++i_;
        if (peek().type != T::End)
            throw SyntaxError(QStringLiteral("unexpected text at '%1'").arg(describe(peek())));
    }
    static QString describe(const Token& t)
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
    bool atClauseKeyword() const
    {
        const Token& t = peek();
        if (t.type != T::Ident || !clauseKeywords().contains(t.text, Qt::CaseInsensitive))
            return false;
        // LEFT( and the like are function calls.
        return !(peekOp("(", 1) && functions().contains(functionKey(t.text)));
    }

    void collectTables()
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

    Kind columnKind(const QString& qualifier, const QString& name) const
    {
        return resolver_ ? resolver_(tables_, qualifier, name) : Kind::Unknown;
    }

    // A statement, up to its end or (inside parentheses) the closing parenthesis.
    QString statementBody(bool nested, bool top)
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
        ++depth_;
        if (depth_ > 200)
            throw SyntaxError(QStringLiteral("the text is nested too deeply"));
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
            if (tok.type == T::Op && tok.text == "*" &&
                !(clause == Clause::Where || clause == Clause::Having)) {
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
                } else if (word == "WHEN" || word == "THEN" || word == "ELSE" || word == "END" ||
                           word == "AND" || word == "OR" || word == "XOR" || word == "NOT" || word == "IS" ||
                           word == "LIKE" || word == "IN" || word == "BETWEEN" || word == "MOD" ||
                           word == "ESCAPE" || word == "BY") {
                    throw SyntaxError(QStringLiteral("unexpected %1").arg(word));
                } else {
                    clause = Clause::Other;
                    if (top &&
                        (word == "UNION" || word == "EXCEPT" || word == "INTERSECT" || word == "JOIN" ||
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

    Expr expression()
    {
        if (++depth_ > 200)
            throw SyntaxError(QStringLiteral("the text is nested too deeply"));
        Expr e = orExpr();
        --depth_;
        return e;
    }

    static Expr binary(const Expr& l, const QString& op, const Expr& r, Kind kind)
    {
        Expr e;
        e.sql = wrap(l) + ' ' + op + ' ' + wrap(r);
        e.kind = kind;
        e.compound = true;
        e.aggregate = l.aggregate || r.aggregate;
        return e;
    }

    Expr orExpr()
    {
        Expr l = andExpr();
        for (;;) {
            if (isKeyword(peek(), "OR")) {
                ++i_;
                l = binary(l, QStringLiteral("OR"), andExpr(), Kind::Bool);
            } else if (isKeyword(peek(), "XOR")) {
                ++i_;
                const Expr r = andExpr();
                Expr e;
                e.sql = "(" + wrap(l) + " <> 0) <> (" + wrap(r) + " <> 0)";
                e.kind = Kind::Bool;
                e.compound = true;
                l = e;
            } else {
                return l;
            }
        }
    }

    Expr andExpr()
    {
        Expr l = notExpr();
        while (isKeyword(peek(), "AND")) {
            ++i_;
            l = binary(l, QStringLiteral("AND"), notExpr(), Kind::Bool);
        }
        return l;
    }

    Expr notExpr()
    {
        if (isKeyword(peek(), "NOT")) {
            ++i_;
            if (++depth_ > 200)
                throw SyntaxError(QStringLiteral("the text is nested too deeply"));
            const Expr inner = notExpr();
            --depth_;
            Expr e;
            e.sql = "NOT " + wrap(inner);
            e.kind = Kind::Bool;
            e.compound = true;
            e.aggregate = inner.aggregate;
            return e;
        }
        return comparison();
    }

    Expr compare(Expr l, QString op, Expr r)
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

    Expr comparison()
    {
        Expr l = concatExpr();
        for (;;) {
            const Token& t = peek();
            if (t.type == T::Op && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" ||
                                    t.text == "<=" || t.text == ">=" || t.text == "!=" || t.text == "==")) {
                const QString op = next().text;
                l = compare(l, op, concatExpr());
                continue;
            }
            bool negated = false;
            if (isKeyword(t, "NOT") &&
                (isKeyword(peek(1), "LIKE") || isKeyword(peek(1), "IN") || isKeyword(peek(1), "BETWEEN"))) {
                negated = true;
                ++i_;
            }
            const QString neg = negated ? QStringLiteral("NOT ") : QString();
            if (isKeyword(peek(), "LIKE")) {
                ++i_;
                Expr r = concatExpr();
                Expr e;
                if (r.stringLiteral) {
                    e.sql =
                        wrap(l) + ' ' + neg + "LIKE " + quoteLiteral(likePattern(r.name)) + " ESCAPE '\\'";
                } else {
                    e.sql = wrap(l) + ' ' + neg + "LIKE " + wrap(r);
                }
                e.kind = Kind::Bool;
                e.compound = true;
                l = e;
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
                Expr e;
                e.sql = wrap(l) + (isNot ? " IS NOT NULL" : " IS NULL");
                e.kind = Kind::Bool;
                e.compound = true;
                l = e;
                continue;
            }
            if (isKeyword(peek(), "IN")) {
                ++i_;
                if (!peekOp("("))
                    throw SyntaxError(QStringLiteral("IN needs a list in parentheses"));
                const Expr list = parenthesized(l.kind);
                Expr e;
                e.sql = wrap(l) + ' ' + neg + "IN " + list.sql;
                e.kind = Kind::Bool;
                e.compound = true;
                l = e;
                continue;
            }
            if (isKeyword(peek(), "BETWEEN")) {
                ++i_;
                Expr lo = concatExpr();
                if (!isKeyword(peek(), "AND"))
                    throw SyntaxError(QStringLiteral("BETWEEN needs AND"));
                ++i_;
                Expr hi = concatExpr();
                if (l.kind == Kind::Currency) {
                    if (auto s = scaledLiteral(lo))
                        lo.sql = *s;
                    if (auto s = scaledLiteral(hi))
                        hi.sql = *s;
                }
                Expr e;
                e.sql = wrap(l) + ' ' + neg + "BETWEEN " + wrap(lo) + " AND " + wrap(hi);
                e.kind = Kind::Bool;
                e.compound = true;
                l = e;
                continue;
            }
            if (negated)
                throw SyntaxError(QStringLiteral("NOT in the wrong place"));
            return l;
        }
    }

    Expr concatExpr()
    {
        Expr l = additive();
        while (peekOp("&")) {
            ++i_;
            const Expr r = additive();
            Expr e;
            e.sql = "orv_amp(" + l.sql + ", " + r.sql + ")";
            e.kind = Kind::Text;
            e.aggregate = l.aggregate || r.aggregate;
            l = e;
        }
        return l;
    }

    // `+` adds numbers and joins texts; a Null part makes the whole Null.
    Expr plus(Expr l, Expr r)
    {
        if (l.kind == Kind::Text || r.kind == Kind::Text) {
            Expr e = binary(l, QStringLiteral("||"), r, Kind::Text);
            return e;
        }
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

    Expr additive()
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

    Expr modExpr()
    {
        Expr l = intDivExpr();
        while (isKeyword(peek(), "MOD")) {
            ++i_;
            l = binary(l, QStringLiteral("%"), intDivExpr(), Kind::Number);
        }
        return l;
    }

    Expr intDivExpr()
    {
        Expr l = multiplicative();
        while (peekOp("\\")) {
            ++i_;
            const Expr r = multiplicative();
            Expr e;
            e.sql = "CAST(" + wrap(l) + " / " + wrap(r) + " AS INTEGER)";
            e.kind = Kind::Number;
            l = e;
        }
        return l;
    }

    Expr multiplicative()
    {
        Expr l = unary();
        for (;;) {
            if (peekOp("*") || peekOp("/")) {
                const QString op = next().text;
                const Expr r = unary();
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
                    l = e;
                } else {
                    l = binary(l, op, r, kind);
                }
            } else if (peekOp("%")) {
                ++i_;
                l = binary(l, QStringLiteral("%"), unary(), Kind::Number);
            } else {
                return l;
            }
        }
    }

    Expr unary()
    {
        if (peekOp("-") || peekOp("+")) {
            const QString op = next().text;
            if (++depth_ > 200)
                throw SyntaxError(QStringLiteral("the text is nested too deeply"));
            Expr inner = unary();
            --depth_;
            if (op == "+")
                return inner;
            Expr e = inner;
            e.sql = "-" + wrap(inner);
            e.compound = false;
            if (inner.numberLiteral && inner.sql.startsWith('-'))
                e.sql = "-(" + inner.sql + ")", e.numberLiteral = false;
            return e;
        }
        return power();
    }

    Expr power()
    {
        Expr l = primary();
        while (peekOp("^")) {
            ++i_;
            const Expr r = primary();
            Expr e;
            e.sql = "pow(" + l.sql + ", " + r.sql + ")";
            e.kind = Kind::Number;
            l = e;
        }
        return l;
    }

    // "(" expression [, expression]... ")" or "(" SELECT ... ")".
    Expr parenthesized(Kind listKind = Kind::Unknown)
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

    Expr functionCall(const QString& name)
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
        Expr e;
        if (form.sqlite.contains('%')) {
            QString sql = form.sqlite;
            for (int k = 0; k < args.size(); ++k)
                sql.replace(QStringLiteral("%%1").arg(k + 1), args[k]);
            e.sql = sql;
        } else {
            e.sql = form.sqlite + '(' + (distinct ? QStringLiteral("DISTINCT ") : QString()) +
                    args.join(", ") + ')';
        }
        e.kind = form.kind;
        if (form.kind == Kind::Unknown && !exprs.empty())
            e.kind = key == "iif" && exprs.size() > 1 ? exprs[1].kind : exprs[0].kind;
        e.aggregate = form.aggregate;
        for (const Expr& a : exprs)
            e.aggregate = e.aggregate || a.aggregate;
        return e;
    }

    Expr caseExpr()
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

    Expr primary()
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
                throw SyntaxError(
                    QStringLiteral("an expression is missing before %1").arg(tok.text.toUpper()));
            if (tok.text.endsWith('$'))
                throw SyntaxError(QStringLiteral("'%1' is a function and needs parentheses").arg(tok.text));
        }
        // A name, possibly qualified: Guests.LastName, [Guests].[LastName], Guests!LastName.
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
};

[[noreturn]] void raise(const QString& what, const QString& text, const SyntaxError& e)
{
    QString shown = text.size() > 200 ? text.left(200) + "..." : text;
    throw StoreError(err::SyntaxError,
                     QStringLiteral("Syntax error in %1 '%2': %3.").arg(what, shown, e.detail));
}

}  // namespace

Translation translateStatement(const QString& text, const Resolver& resolver)
{
    try {
        Parser p(tokenize(text), resolver);
        return p.statement();
    } catch (const SyntaxError& e) {
        raise(QStringLiteral("the SQL statement"), text, e);
    }
}

QString translateCondition(const QString& text, const Resolver& resolver)
{
    try {
        Parser p(tokenize(text), resolver);
        return p.condition();
    } catch (const SyntaxError& e) {
        raise(QStringLiteral("the condition"), text, e);
    }
}

QString translateSort(const QString& text, const Resolver& resolver)
{
    try {
        if (text.trimmed().isEmpty())
            return {};
        Parser p(tokenize(text), resolver);
        return p.sort();
    } catch (const SyntaxError& e) {
        raise(QStringLiteral("the sort"), text, e);
    }
}

QString quoteIdentifier(const QString& name)
{
    QString s = name;
    s.replace('"', QStringLiteral("\"\""));
    return '"' + s + '"';
}

QString quoteLiteral(const QString& text)
{
    QString s = text;
    s.replace('\'', QStringLiteral("''"));
    return '\'' + s + '\'';
}

std::optional<QDateTime> parseDateTimeText(const QString& input)
{
    const QString text = input.simplified();
    if (text.isEmpty())
        return std::nullopt;
    static const QStringList dateTimeFormats = {
        "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd HH:mm:ss.zzz",
        "M/d/yyyy h:mm:ss AP", "M/d/yyyy h:mm AP",    "M/d/yyyy H:mm:ss", "M/d/yyyy H:mm",
        "M/d/yy h:mm:ss AP",   "M/d/yy h:mm AP",      "M/d/yy H:mm:ss",   "M/d/yy H:mm"};
    static const QStringList dateFormats = {"yyyy-MM-dd",   "M/d/yyyy",    "M/d/yy",
                                            "MMMM d, yyyy", "MMM d, yyyy", "d MMMM yyyy"};
    const QLocale c = QLocale::c();
    for (const QString& f : dateTimeFormats) {
        const QDateTime dt = c.toDateTime(text, f);
        if (dt.isValid())
            return dt;
    }
    auto fixCentury = [](QDate d, const QString& f) {
        // Two-digit years: 30..99 are 1930..1999, 00..29 are 2000..2029.
        if (f.contains(QLatin1String("yy")) && !f.contains(QLatin1String("yyyy")) && d.year() < 1930)
            d = d.addYears(100);
        return d;
    };
    for (const QString& f : dateFormats) {
        const QDate d = c.toDate(text, f);
        if (d.isValid())
            return QDateTime(fixCentury(d, f), QTime(0, 0));
    }
    const QLocale loc;
    for (auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QDateTime dt = loc.toDateTime(text, format);
        if (dt.isValid())
            return dt;
        const QDate d = loc.toDate(text, format);
        if (d.isValid())
            return QDateTime(fixCentury(d, loc.dateFormat(format)), QTime(0, 0));
    }
    return std::nullopt;
}

QString storedDateText(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Kind kindOfDeclaredType(const QString& declaredType)
{
    const QString t = declaredType.trimmed().toUpper();
    auto starts = [&](const char* w) { return t.startsWith(QLatin1String(w)); };
    if (t.isEmpty())
        return Kind::Unknown;
    if (starts("TEXT") || starts("VARCHAR") || starts("CHAR") || starts("MEMO") || starts("NVARCHAR") ||
        starts("CLOB"))
        return Kind::Text;
    if (starts("YESNO") || starts("BOOL") || starts("BIT"))
        return Kind::Bool;
    if (starts("CURRENCY") || starts("MONEY"))
        return Kind::Currency;
    if (starts("DATE") || starts("TIME"))
        return Kind::Date;
    if (starts("NUMBER") || starts("INT") || starts("LONG") || starts("COUNTER") || starts("SHORT") ||
        starts("BYTE") || starts("BIGINT") || starts("SMALLINT") || starts("AUTOINCREMENT"))
        return Kind::Number;
    return Kind::Unknown;
}

}  // namespace store::dialect
