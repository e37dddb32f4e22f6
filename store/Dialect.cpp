// The translator's entry points, and the quoting, date and declared-type rules that the
// rest of the store shares with it. The text is tokenized (DialectTokens.cpp), parsed
// (DialectParser.cpp, DialectExpressions.cpp) and written as SQLite SQL (DialectWriter.cpp).
#include "store/Dialect.h"

#include "store/DialectParser.h"
#include "store/StoreError.h"

#include <QLocale>

namespace store::dialect {

namespace {

using detail::Parser;
using detail::SyntaxError;
using detail::tokenize;

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
