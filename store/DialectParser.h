// The dialect's parser: reads the tokens of a statement, a condition or a sort with the
// dialect's operator precedence and has each part written as SQLite SQL (DialectWriter.h).
// Statements and clauses are read in DialectParser.cpp, expressions in
// DialectExpressions.cpp.
#pragma once

#include "store/DialectTokens.h"
#include "store/DialectWriter.h"

namespace store::dialect::detail {

class Parser {
public:
    Parser(std::vector<Token> tokens, const Resolver& resolver);

    Translation statement();
    QString condition();
    QString sort();

private:
    enum class Clause { None, Select, From, Where, Group, Having, Order, Other };

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

    // Tokens.
    const Token& peek(size_t ahead = 0) const { return t_[std::min(i_ + ahead, t_.size() - 1)]; }
    const Token& next();
    bool peekOp(const char* op, size_t ahead = 0) const
    {
        return peek(ahead).type == T::Op && peek(ahead).text == QLatin1String(op);
    }
    void expectOp(const char* op);
    void expectEnd();
    static QString describe(const Token& t);
    bool atClauseKeyword() const;
    void enterNesting();  // throws when the text nests too deeply

    // Statements and clauses.
    void collectTables();
    SimpleSelect simpleSelect() const;
    Kind columnKind(const QString& qualifier, const QString& name) const;
    QString statementBody(bool nested, bool top);

    // Expressions, loosest binding first.
    Expr expression();
    Expr orExpr();
    Expr andExpr();
    Expr notExpr();
    Expr comparisonExpr();
    Expr concatExpr();
    Expr additive();
    Expr modExpr();
    Expr intDivExpr();
    Expr multiplicative();
    Expr unary();
    Expr powerExpr();
    Expr parenthesized(Kind listKind = Kind::Unknown);
    Expr functionCall(const QString& name);
    Expr caseExpr();
    Expr primary();
    Expr name(const Token& tok);
};

}  // namespace store::dialect::detail
