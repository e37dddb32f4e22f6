#include "reports/TextPattern.h"

#include "reports/ReportError.h"
#include "store/Currency.h"

#include <QDateTime>
#include <QLocale>

namespace reports {

namespace {

[[noreturn]] void fail(const QString& what)
{
    throw ReportError(what);
}

// Reads "{Table.Field}" or "{Table.Field:format}" starting at `at` (the opening brace).
TextPattern::Piece readField(const QString& text, qsizetype& at)
{
    const qsizetype close = text.indexOf('}', at + 1);
    if (close < 0)
        fail(QStringLiteral("a field name is not closed with }"));
    QString inside = text.mid(at + 1, close - at - 1);
    TextPattern::Piece piece;
    piece.kind = TextPattern::Piece::Kind::Field;
    const qsizetype colon = inside.indexOf(':');
    if (colon >= 0) {
        // The text of a mark is kept as written, blanks included.
        piece.text = inside.mid(colon + 1).trimmed();
        if (piece.text.startsWith(QStringLiteral("mark=")))
            piece.text = QStringLiteral("mark=") + inside.mid(inside.indexOf('=', colon) + 1);
        piece.text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        inside = inside.left(colon);
        if (!isKnownFormat(piece.text))
            fail(QStringLiteral("the format '%1' is not known").arg(piece.text));
    }
    const QString problem = readFieldName(inside, &piece.name);
    if (!problem.isEmpty())
        fail(problem);
    at = close + 1;
    return piece;
}

bool doubled(const QString& text, qsizetype at)
{
    return at + 1 < text.size() && text[at + 1] == text[at];
}

QString shortDateFormat()
{
    // The locale's short date, always with a four-digit year.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains("yyyy"))
        format.replace("yy", "yyyy");
    return format;
}

QString amountText(const store::Currency& amount)
{
    const double rounded = amount.toString(2).toDouble();
    return QLocale().toCurrencyString(rounded, QLocale().currencySymbol(), 2);
}

bool truth(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return value.isValid() && value.toLongLong() != 0;
}

}  // namespace

TextPattern TextPattern::parse(const QString& text)
{
    TextPattern pattern;
    QString literal;
    bool inOptional = false;
    const auto flush = [&] {
        if (!literal.isEmpty())
            pattern.pieces_.push_back({Piece::Kind::Literal, literal, {}, -1});
        literal.clear();
    };
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text[at];
        if ((c == '{' || c == '}' || c == '[' || c == ']') && doubled(text, at)) {
            literal += c;
            at += 2;
        } else if (c == '{') {
            flush();
            pattern.pieces_.push_back(readField(text, at));
        } else if (c == '}') {
            fail(QStringLiteral("a } closes no field (write }} for the bracket itself)"));
        } else if (c == '[' || c == ']') {
            if ((c == '[') == inOptional)
                fail(c == '['
                         ? QStringLiteral("optional parts in [ ] cannot be nested")
                         : QStringLiteral("a ] closes no optional part (write ]] for the bracket itself)"));
            flush();
            inOptional = c == '[';
            pattern.pieces_.push_back(
                {inOptional ? Piece::Kind::OptionalStart : Piece::Kind::OptionalEnd, {}, {}, -1});
            ++at;
        } else if (c == '\\' && at + 1 < text.size() && (text[at + 1] == 'n' || text[at + 1] == '\\')) {
            literal += text[at + 1] == 'n' ? QChar('\n') : QChar('\\');
            at += 2;
        } else {
            literal += c;
            ++at;
        }
    }
    if (inOptional)
        fail(QStringLiteral("an optional part opened with [ is not closed with ]"));
    flush();
    return pattern;
}

const TextPattern::Piece* TextPattern::singleField() const
{
    if (pieces_.size() == 1 && pieces_[0].kind == Piece::Kind::Field)
        return &pieces_[0];
    return nullptr;
}

void TextPattern::bind(const std::function<int(const FieldName&)>& columnOf)
{
    for (Piece& p : pieces_)
        if (p.kind == Piece::Kind::Field)
            p.column = columnOf(p.name);
}

QString TextPattern::evaluate(const Row& row) const
{
    QString out, optional;
    bool inOptional = false, optionalComplete = true;
    for (const Piece& p : pieces_) {
        switch (p.kind) {
            case Piece::Kind::Literal:
                (inOptional ? optional : out) += p.text;
                break;
            case Piece::Kind::Field: {
                const QVariant& value =
                    p.column >= 0 && size_t(p.column) < row.size() ? row[p.column] : QVariant();
                const QString text = formatValue(value, p.text);
                if (inOptional && text.isEmpty())
                    optionalComplete = false;
                (inOptional ? optional : out) += text;
                break;
            }
            case Piece::Kind::OptionalStart:
                inOptional = true;
                optionalComplete = true;
                optional.clear();
                break;
            case Piece::Kind::OptionalEnd:
                inOptional = false;
                if (optionalComplete)
                    out += optional;
                break;
        }
    }
    return out;
}

bool isKnownFormat(const QString& format)
{
    static const QStringList known{"", "date", "datetime", "currency", "number", "yesno", "check"};
    return known.contains(format) || format.startsWith("mark=");
}

QString formatValue(const QVariant& value, const QString& format)
{
    if (format == "check")
        return truth(value) ? QStringLiteral("\u2713") : QString();
    if (format.startsWith("mark="))
        return truth(value) ? format.mid(5) : QString();
    if (format == "yesno")
        return truth(value) ? QStringLiteral("Yes") : QStringLiteral("No");
    if (!value.isValid() || value.isNull())
        return {};
    const int type = value.typeId();
    if (type == qMetaTypeId<store::Currency>())
        return amountText(value.value<store::Currency>());
    if (format == "currency")
        return amountText(store::Currency::fromDouble(value.toDouble()));
    switch (type) {
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
        case QMetaType::QDateTime: {
            const QDateTime when = value.toDateTime();
            if (format == "datetime")
                return QLocale().toString(when.date(), shortDateFormat()) + ' ' +
                       QLocale().toString(when.time(), QLocale::ShortFormat);
            return QLocale().toString(when.date(), shortDateFormat());
        }
        case QMetaType::LongLong:
        case QMetaType::Int:
            return QLocale().toString(value.toLongLong());
        case QMetaType::Double:
            return QLocale().toString(value.toDouble(), 'g', 12);
        default:
            return value.toString();
    }
}

}  // namespace reports
