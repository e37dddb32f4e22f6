#include "store/DialectTokens.h"

namespace store::dialect::detail {

namespace {

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == '_';
}
bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

}  // namespace

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

}  // namespace store::dialect::detail
