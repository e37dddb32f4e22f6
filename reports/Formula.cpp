#include "reports/Formula.h"

#include "reports/ReportError.h"

#include <vector>

namespace reports {

namespace {

enum class TokenKind { Field, Number, True, False, And, Or, Not, Minus, Open, Close, Compare, End };

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;      // field name inside the braces, number digits, or comparison operator
    int position = 0;  // 1-based character position in the formula
};

[[noreturn]] void fail(const QString& what, int position)
{
    throw ReportError(
        QStringLiteral("The selection formula cannot be read: %1 (character %2).").arg(what).arg(position));
}

class Lexer {
public:
    explicit Lexer(const QString& text) : text_(text) {}

    std::vector<Token> tokens()
    {
        std::vector<Token> out;
        for (;;) {
            skipBlanks();
            if (at_ >= text_.size()) {
                out.push_back({TokenKind::End, {}, int(at_) + 1});
                return out;
            }
            out.push_back(next());
        }
    }

private:
    void skipBlanks()
    {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }

    Token next()
    {
        const int start = int(at_) + 1;
        const QChar c = text_[at_];
        if (c == '{')
            return field(start);
        if (c.isDigit() && c.unicode() < 128)
            return number(start);
        if (c.isLetter() && c.unicode() < 128)
            return word(start);
        ++at_;
        switch (c.unicode()) {
            case '(':
                return {TokenKind::Open, {}, start};
            case ')':
                return {TokenKind::Close, {}, start};
            case '-':
                return {TokenKind::Minus, {}, start};
            case '=':
                return {TokenKind::Compare, "=", start};
            case '<':
                if (at_ < text_.size() && (text_[at_] == '>' || text_[at_] == '='))
                    return {TokenKind::Compare, QString("<") + text_[at_++], start};
                return {TokenKind::Compare, "<", start};
            case '>':
                if (at_ < text_.size() && text_[at_] == '=')
                    return {TokenKind::Compare, QString(">") + text_[at_++], start};
                return {TokenKind::Compare, ">", start};
            case '"':
            case '\'':
                fail(QStringLiteral(
                         "text in quotes is not allowed; compare fields with numbers, True or False"),
                     start);
            default:
                fail(QStringLiteral("the character %1 is not allowed").arg(describe(c)), start);
        }
    }

    static QString describe(QChar c)
    {
        if (c.isPrint() && !c.isSpace())
            return QStringLiteral("'%1'").arg(c);
        return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    }

    Token field(int start)
    {
        const qsizetype close = text_.indexOf('}', at_ + 1);
        if (close < 0)
            fail(QStringLiteral("a field name is not closed with }"), start);
        const QString inside = text_.mid(at_ + 1, close - at_ - 1);
        FieldName name;
        const QString problem = readFieldName(inside, &name);
        if (!problem.isEmpty())
            fail(problem, start);
        at_ = close + 1;
        return {TokenKind::Field, inside, start};
    }

    Token number(int start)
    {
        const qsizetype from = at_;
        while (at_ < text_.size() && text_[at_].isDigit() && text_[at_].unicode() < 128)
            ++at_;
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            while (at_ < text_.size() && text_[at_].isDigit() && text_[at_].unicode() < 128)
                ++at_;
        }
        const QString digits = text_.mid(from, at_ - from);
        if (digits.size() > 18)
            fail(QStringLiteral("the number %1 is too long").arg(digits.left(20)), start);
        return {TokenKind::Number, digits, start};
    }

    Token word(int start)
    {
        const qsizetype from = at_;
        while (at_ < text_.size() && (text_[at_].isLetterOrNumber() || text_[at_] == '_') &&
               text_[at_].unicode() < 128)
            ++at_;
        const QString w = text_.mid(from, at_ - from);
        const QString lower = w.toLower();
        if (lower == "and")
            return {TokenKind::And, w, start};
        if (lower == "or")
            return {TokenKind::Or, w, start};
        if (lower == "not")
            return {TokenKind::Not, w, start};
        if (lower == "true")
            return {TokenKind::True, w, start};
        if (lower == "false")
            return {TokenKind::False, w, start};
        fail(QStringLiteral("the word '%1' is not known; fields are written in braces, {Table.Field}")
                 .arg(w.left(40)),
             start);
    }

    const QString& text_;
    qsizetype at_ = 0;
};

}  // namespace

// A node of the formula tree.
struct Formula::Node {
    enum class Kind { Or, And, Not, Compare, Bare, Field, Number, Boolean } kind;
    std::vector<std::shared_ptr<const Node>> children;  // operands of Or/And/Not/Compare
    QString op;                                         // comparison operator
    FieldName field;                                    // Field, Bare
    QString number;                                     // Number: digits with an optional point and sign
    bool boolean = false;
    int position = 0;
};

namespace {

using NodePtr = std::shared_ptr<const Formula::Node>;
using Node = Formula::Node;

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    NodePtr formula()
    {
        NodePtr root = orExpression();
        if (peek().kind == TokenKind::Close)
            fail(QStringLiteral("there is a closing parenthesis without an opening one"), peek().position);
        if (peek().kind != TokenKind::End)
            fail(QStringLiteral("'and' or 'or' is missing between two conditions"), peek().position);
        return root;
    }

private:
    const Token& peek() const { return tokens_[at_]; }
    const Token& take() { return tokens_[at_ < tokens_.size() - 1 ? at_++ : at_]; }

    void enter()
    {
        if (++depth_ > Formula::MaxDepth)
            fail(QStringLiteral("the conditions are nested too deeply"), peek().position);
    }

    NodePtr joined(Node::Kind kind, TokenKind joiner, NodePtr (Parser::*operand)())
    {
        NodePtr first = (this->*operand)();
        if (peek().kind != joiner)
            return first;
        auto node = std::make_shared<Node>(Node{kind, {first}, {}, {}, {}, false, first->position});
        while (peek().kind == joiner) {
            take();
            node->children.push_back((this->*operand)());
        }
        return node;
    }

    NodePtr orExpression() { return joined(Node::Kind::Or, TokenKind::Or, &Parser::andExpression); }
    NodePtr andExpression() { return joined(Node::Kind::And, TokenKind::And, &Parser::notExpression); }

    NodePtr notExpression()
    {
        if (peek().kind != TokenKind::Not)
            return primary();
        const int position = take().position;
        enter();
        NodePtr operand = notExpression();
        --depth_;
        return std::make_shared<Node>(Node{Node::Kind::Not, {operand}, {}, {}, {}, false, position});
    }

    NodePtr primary()
    {
        if (peek().kind == TokenKind::Open) {
            const int position = take().position;
            enter();
            NodePtr inner = orExpression();
            --depth_;
            if (peek().kind != TokenKind::Close)
                fail(QStringLiteral("the parenthesis opened at character %1 is not closed").arg(position),
                     peek().position);
            take();
            return inner;
        }
        return comparison();
    }

    NodePtr comparison()
    {
        NodePtr left = operand();
        if (peek().kind != TokenKind::Compare) {
            if (left->kind != Node::Kind::Field)
                fail(QStringLiteral("a condition compares a field with a value, as in {Guests.tableid} = 0"),
                     left->position);
            return std::make_shared<Node>(
                Node{Node::Kind::Bare, {}, {}, left->field, {}, false, left->position});
        }
        const Token& op = take();
        NodePtr right = operand();
        return std::make_shared<Node>(
            Node{Node::Kind::Compare, {left, right}, op.text, {}, {}, false, op.position});
    }

    NodePtr operand()
    {
        const Token& t = take();
        switch (t.kind) {
            case TokenKind::Field: {
                FieldName name;
                readFieldName(t.text, &name);
                return std::make_shared<Node>(Node{Node::Kind::Field, {}, {}, name, {}, false, t.position});
            }
            case TokenKind::Number:
                return std::make_shared<Node>(
                    Node{Node::Kind::Number, {}, {}, {}, t.text, false, t.position});
            case TokenKind::Minus: {
                if (peek().kind != TokenKind::Number)
                    fail(QStringLiteral("a minus sign must be followed by a number"), t.position);
                const Token& n = take();
                return std::make_shared<Node>(
                    Node{Node::Kind::Number, {}, {}, {}, '-' + n.text, false, t.position});
            }
            case TokenKind::True:
            case TokenKind::False:
                return std::make_shared<Node>(
                    Node{Node::Kind::Boolean, {}, {}, {}, {}, t.kind == TokenKind::True, t.position});
            case TokenKind::End:
                fail(QStringLiteral("the formula ends where a field or a value is expected"), t.position);
            case TokenKind::Close:
                fail(QStringLiteral("there is a closing parenthesis without an opening one"), t.position);
            default:
                fail(QStringLiteral("a field or a value is expected here"), t.position);
        }
    }

    std::vector<Token> tokens_;
    size_t at_ = 0;
    int depth_ = 0;
};

// Turns a checked tree into SQL with bound values.
class SqlWriter {
public:
    SqlWriter(const Catalog& catalog, const QStringList& tables) : catalog_(catalog), tables_(tables) {}

    SqlCondition write(const Node& root)
    {
        SqlCondition out;
        out.sql = condition(root);
        out.params = params_;
        return out;
    }

private:
    [[noreturn]] static void wrong(const QString& what)
    {
        throw ReportError(QStringLiteral("The selection formula cannot be used: %1.").arg(what));
    }

    FieldRef resolve(const FieldName& name) const
    {
        FieldRef ref;
        const QString problem = resolveField(catalog_, tables_, name, &ref);
        if (!problem.isEmpty())
            wrong(problem);
        return ref;
    }

    QString condition(const Node& node)
    {
        switch (node.kind) {
            case Node::Kind::Or:
            case Node::Kind::And: {
                QStringList parts;
                for (const NodePtr& child : node.children)
                    parts << '(' + condition(*child) + ')';
                return parts.join(node.kind == Node::Kind::Or ? " OR " : " AND ");
            }
            case Node::Kind::Not:
                return "NOT (" + condition(*node.children[0]) + ')';
            case Node::Kind::Bare: {
                const FieldRef f = resolve(node.field);
                if (f.type != store::FieldType::YesNo)
                    wrong(QStringLiteral("%1 is not a Yes/No field; compare it with a value, as in %1 = 0")
                              .arg(node.field.text()));
                return fieldValue(f) + " <> 0";
            }
            case Node::Kind::Compare:
                return comparison(node);
            default:
                wrong(QStringLiteral("a condition is expected"));
        }
    }

    static bool isNumeric(store::FieldType t)
    {
        return t == store::FieldType::Number || t == store::FieldType::Currency ||
               t == store::FieldType::Unknown;
    }

    static QString typeName(store::FieldType t)
    {
        switch (t) {
            case store::FieldType::Text:
                return QStringLiteral("a text field");
            case store::FieldType::YesNo:
                return QStringLiteral("a Yes/No field");
            case store::FieldType::Currency:
                return QStringLiteral("an amount");
            case store::FieldType::DateTime:
                return QStringLiteral("a date field");
            case store::FieldType::Number:
                return QStringLiteral("a number field");
            default:
                return QStringLiteral("a field");
        }
    }

    // The field's value in a comparison: an empty field counts as its type's empty value.
    static QString fieldValue(const FieldRef& f)
    {
        const QString column = qualifiedColumn(f);
        switch (f.type) {
            case store::FieldType::YesNo:
            case store::FieldType::Number:
            case store::FieldType::Currency:
                return "IFNULL(" + column + ", 0)";
            case store::FieldType::Text:
                return "IFNULL(" + column + ", '')";
            default:
                return column;
        }
    }

    QString comparison(const Node& node)
    {
        const Node& a = *node.children[0];
        const Node& b = *node.children[1];
        if (a.kind != Node::Kind::Field && b.kind != Node::Kind::Field)
            wrong(QStringLiteral("a comparison needs a field on one side"));
        if (a.kind == Node::Kind::Field && b.kind == Node::Kind::Field)
            return fieldWithField(node.op, resolve(a.field), resolve(b.field));
        const bool fieldFirst = a.kind == Node::Kind::Field;
        const Node& fieldNode = fieldFirst ? a : b;
        const Node& value = fieldFirst ? b : a;
        const FieldRef f = resolve(fieldNode.field);
        const QString literal = bindLiteral(f, fieldNode.field, value, node.op);
        return fieldFirst ? fieldValue(f) + ' ' + node.op + ' ' + literal
                          : literal + ' ' + node.op + ' ' + fieldValue(f);
    }

    QString fieldWithField(const QString& op, const FieldRef& a, const FieldRef& b)
    {
        const bool sameKind = a.type == b.type || (isNumeric(a.type) && isNumeric(b.type));
        if (!sameKind)
            wrong(QStringLiteral("{%1.%2} is %3 and {%4.%5} is %6; they cannot be compared")
                      .arg(a.table, a.field, typeName(a.type), b.table, b.field, typeName(b.type)));
        if (a.type == store::FieldType::YesNo && op != "=" && op != "<>")
            wrong(QStringLiteral("Yes/No fields are compared with = or <> only"));
        // Amounts are held in ten-thousandths: a plain number is scaled to compare with one.
        QString left = fieldValue(a), right = fieldValue(b);
        if (a.type == store::FieldType::Currency && b.type == store::FieldType::Number)
            right = '(' + right + " * 10000)";
        if (b.type == store::FieldType::Currency && a.type == store::FieldType::Number)
            left = '(' + left + " * 10000)";
        return left + ' ' + op + ' ' + right;
    }

    QString bindLiteral(const FieldRef& f, const FieldName& name, const Node& value, const QString& op)
    {
        if (value.kind == Node::Kind::Boolean) {
            if (f.type != store::FieldType::YesNo)
                wrong(QStringLiteral("%1 is %2 and cannot be compared with True or False")
                          .arg(name.text(), typeName(f.type)));
            if (op != "=" && op != "<>")
                wrong(QStringLiteral("Yes/No fields are compared with = or <> only"));
            params_ << QVariant(qint64(value.boolean ? 1 : 0));
            return QStringLiteral("?");
        }
        if (!isNumeric(f.type))
            wrong(QStringLiteral("%1 is %2 and cannot be compared with a number")
                      .arg(name.text(), typeName(f.type)));
        params_ << numberValue(value.number, f.type == store::FieldType::Currency);
        return QStringLiteral("?");
    }

    // A number of the formula as the column holds it: amounts in exact ten-thousandths.
    static QVariant numberValue(const QString& digits, bool amount)
    {
        const bool negative = digits.startsWith('-');
        const QString unsignedDigits = negative ? digits.mid(1) : digits;
        const int point = int(unsignedDigits.indexOf('.'));
        const QString whole = point < 0 ? unsignedDigits : unsignedDigits.left(point);
        QString fraction = point < 0 ? QString() : unsignedDigits.mid(point + 1);
        while (fraction.endsWith('0'))
            fraction.chop(1);
        const int scale = amount ? 4 : 0;
        if (fraction.size() <= scale && whole.size() + scale <= 18) {
            qint64 value = whole.isEmpty() ? 0 : whole.toLongLong();
            for (int i = 0; i < scale; ++i)
                value = value * 10 + (i < fraction.size() ? fraction[i].digitValue() : 0);
            return QVariant(negative ? -value : value);
        }
        double value = unsignedDigits.toDouble() * (amount ? 10000.0 : 1.0);
        return QVariant(negative ? -value : value);
    }

    const Catalog& catalog_;
    const QStringList& tables_;
    QVariantList params_;
};

}  // namespace

Formula Formula::parse(const QString& text)
{
    Formula formula;
    formula.text_ = text;
    if (text.trimmed().isEmpty())
        return formula;
    if (text.size() > MaxLength)
        throw ReportError(
            QStringLiteral("The selection formula cannot be read: it is longer than %1 characters.")
                .arg(MaxLength));
    Parser parser(Lexer(text).tokens());
    formula.root_ = parser.formula();
    return formula;
}

SqlCondition Formula::toSql(const Catalog& catalog, const QStringList& tables) const
{
    if (!root_)
        return {};
    return SqlWriter(catalog, tables).write(*root_);
}

}  // namespace reports
