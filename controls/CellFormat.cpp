#include "controls/CellFormat.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace controls {

namespace {

const char* const MediumDatePattern = "dd-MMM-yyyy";

// The user's short date pattern with a four-digit year ("M/d/yyyy" under en_US), so that
// a date shown can be read back without guessing the century.
QString shortDatePattern()
{
    QString pattern = QLocale().dateFormat(QLocale::ShortFormat);
    if (!pattern.contains("yyyy"))
        pattern.replace("yy", "yyyy");
    return pattern;
}

QString shortDateText(const QDateTime& value)
{
    const QLocale locale;
    const QString date = locale.toString(value.date(), shortDatePattern());
    if (value.time() == QTime(0, 0))
        return date;
    return date + ' ' + locale.toString(value.time(), QLocale::ShortFormat);
}

// "1234.5000" -> "1234.50"; keeps up to four decimals when they matter ("0.1234").
QString plainMoney(store::Currency amount)
{
    QString text = amount.toString(4);
    while (text.endsWith('0') && text.indexOf('.') >= 0 && text.size() - text.indexOf('.') > 3)
        text.chop(1);
    return text;
}

QString currencyText(store::Currency amount)
{
    // Through a decimal text, so that the shown cents are exactly the stored ones.
    return QLocale().toCurrencyString(amount.toString(2).toDouble(), QString(), 2);
}

QString generalNumberText(const QVariant& value)
{
    if (value.canConvert<store::Currency>() && value.metaType() == QMetaType::fromType<store::Currency>()) {
        QString text = value.value<store::Currency>().toString(4);
        while (text.contains('.') && (text.endsWith('0') || text.endsWith('.')))
            text.chop(1);
        return text;
    }
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

bool isCurrency(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<store::Currency>();
}

QString plainText(const QVariant& value)
{
    if (isCurrency(value))
        return plainMoney(value.value<store::Currency>());
    if (value.typeId() == QMetaType::QDateTime)
        return shortDateText(value.toDateTime());
    if (value.typeId() == QMetaType::QDate)
        return QLocale().toString(value.toDate(), shortDatePattern());
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

QDateTime dateTimeOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    return QDateTime();
}

std::optional<bool> parseYesNo(const QString& text)
{
    const QString t = text.toLower();
    if (t == "yes" || t == "true" || t == "on" || t == "-1" || t == "1")
        return true;
    if (t == "no" || t == "false" || t == "off" || t == "0")
        return false;
    return std::nullopt;
}

QDateTime parseDateTime(const QString& text)
{
    const QLocale locale;
    const QString dateFormats[] = {shortDatePattern(),
                                   locale.dateFormat(QLocale::ShortFormat),
                                   QString(MediumDatePattern),
                                   QStringLiteral("d-MMM-yy"),
                                   QStringLiteral("M/d/yyyy"),
                                   QStringLiteral("M/d/yy"),
                                   QStringLiteral("MMMM d, yyyy"),
                                   QStringLiteral("MMM d, yyyy"),
                                   QStringLiteral("yyyy-MM-dd")};
    const QString timeFormats[] = {QString(), QStringLiteral(" h:mm AP"), QStringLiteral(" h:mm:ss AP"),
                                   QStringLiteral(" H:mm"), QStringLiteral(" H:mm:ss")};
    for (const QString& d : dateFormats) {
        for (const QString& t : timeFormats) {
            QDateTime value = locale.toDateTime(text, d + t);
            if (value.isValid()) {
                // Two-digit years read as 19xx by Qt: take them as this century's.
                if (!d.contains("yyyy") && value.date().year() < 1950)
                    value = value.addYears(100);
                return value;
            }
        }
    }
    QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    return iso;
}

bool allDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// Group separators may only stand between groups of three digits in the whole part
// ("1,234,567.50"): "1,2,3" is not an amount, however its digits would read.
bool groupedCorrectly(const QString& text, const QString& separator, const QString& point)
{
    if (separator.isEmpty() || !text.contains(separator))
        return true;
    const qsizetype decimal = text.indexOf(point);
    if (decimal >= 0 && text.indexOf(separator, decimal) >= 0)
        return false;
    QString whole = decimal < 0 ? text : text.left(decimal);
    if (whole.startsWith('-') || whole.startsWith('+'))
        whole.remove(0, 1);
    const QStringList groups = whole.split(separator);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QString& group = groups[i];
        if (!allDigits(group) || (i == 0 ? group.size() > 3 : group.size() != 3))
            return false;
    }
    return true;
}

// Removes a currency sign, grouping and parentheses; "(12.50)" -> "-12.50". Misplaced
// grouping gives an empty text, which is no number.
QString numericCore(const QString& text)
{
    const QLocale locale;
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith('(') && t.endsWith(')')) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    t.remove(locale.currencySymbol());
    t.remove('$');
    t = t.trimmed();
    if (!groupedCorrectly(t, locale.groupSeparator(), locale.decimalPoint()))
        return QString();
    t.remove(locale.groupSeparator());
    t = t.trimmed();
    if (t.startsWith('-') && t.mid(1).trimmed().startsWith(locale.currencySymbol()))
        t = '-' + t.mid(1).trimmed().remove(locale.currencySymbol());
    if (locale.decimalPoint() != QStringLiteral("."))
        t.replace(locale.decimalPoint(), QStringLiteral("."));
    if (negative)
        t = '-' + t;
    return t;
}

}  // namespace

CellFormat cellFormatFromName(const QString& name)
{
    if (name == "Yes/No")
        return CellFormat::YesNo;
    if (name == "Medium Date")
        return CellFormat::MediumDate;
    if (name == "Short Date")
        return CellFormat::ShortDate;
    if (name == "Currency")
        return CellFormat::Currency;
    if (name == "General Number")
        return CellFormat::GeneralNumber;
    return CellFormat::AsEntered;
}

QString formatCell(const QVariant& value, CellFormat format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (format) {
        case CellFormat::YesNo:
            if (value.typeId() == QMetaType::Bool)
                return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
            break;
        case CellFormat::MediumDate:
            if (QDateTime d = dateTimeOf(value); d.isValid())
                return QLocale().toString(d.date(), QString(MediumDatePattern));
            break;
        case CellFormat::ShortDate:
            if (QDateTime d = dateTimeOf(value); d.isValid())
                return QLocale().toString(d.date(), shortDatePattern());
            break;
        case CellFormat::Currency:
            if (isCurrency(value))
                return currencyText(value.value<store::Currency>());
            if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
                return currencyText(store::Currency::fromUnits(value.toLongLong()));
            break;
        case CellFormat::GeneralNumber:
            if (isCurrency(value) || value.typeId() == QMetaType::LongLong ||
                value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double)
                return generalNumberText(value);
            break;
        case CellFormat::AsEntered:
            break;
    }
    return plainText(value);
}

bool isNumericText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    return number.match(numericCore(text)).hasMatch();
}

QVariant parseCell(const QString& typed, store::FieldType type)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return QVariant();
    switch (type) {
        case store::FieldType::YesNo:
            if (auto b = parseYesNo(text))
                return *b;
            break;
        case store::FieldType::Currency:
            if (isNumericText(text))
                if (auto c = store::Currency::parse(numericCore(text)))
                    return QVariant::fromValue(*c);
            break;
        case store::FieldType::Number: {
            bool ok = false;
            const qint64 n = numericCore(text).toLongLong(&ok);
            if (ok)
                return n;
            break;
        }
        case store::FieldType::DateTime:
            if (QDateTime d = parseDateTime(text); d.isValid())
                return d;
            break;
        case store::FieldType::Text:
        case store::FieldType::Unknown:
            return typed;
    }
    return typed;
}

QString oneLineText(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
    if (!text.contains(breaks))
        return text;
    QStringList lines = text.split(breaks, Qt::SkipEmptyParts);
    return lines.join(QLatin1Char(' '));
}

store::Currency moneyOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return store::Currency();
    if (isCurrency(value))
        return value.value<store::Currency>();
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return store::Currency::fromUnits(value.toLongLong());
    if (value.typeId() == QMetaType::Double)
        return store::Currency::fromDouble(value.toDouble());
    const QString text = value.toString();
    if (!isNumericText(text))
        return store::Currency();
    return store::Currency::parse(numericCore(text)).value_or(store::Currency());
}

}  // namespace controls
