// The dialect's tokens: names, bracketed names, string literals, numbers, #date# literals,
// ? parameters and operators. Shared by the parser and the writer of the translator.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace store::dialect::detail {

enum class T { End, Ident, Bracket, String, Number, Date, Param, Op };

struct Token {
    T type = T::End;
    QString text;  // identifier/op as written, unquoted name, string value, number text
    int pos = 0;
};

// What is wrong with the text; the translator reports it as a syntax error with the text.
class SyntaxError {
public:
    explicit SyntaxError(QString detail) : detail(std::move(detail)) {}
    QString detail;
};

// The tokens of the text, the last one End. Throws SyntaxError.
std::vector<Token> tokenize(const QString& text);

// The words that start or join clauses and operators; never read as names.
const QStringList& clauseKeywords();
bool isKeyword(const Token& t, const char* word);

}  // namespace store::dialect::detail
