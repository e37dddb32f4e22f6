#include "guests/GuestRules.h"

#include "controls/CellFormat.h"
#include "controls/Events.h"

namespace guests {

namespace {

bool isDigit(int keyAscii)
{
    return keyAscii >= '0' && keyAscii <= '9';
}

}  // namespace

CountKey countKeyAction(int keyAscii, bool replyBox)
{
    if (keyAscii == controls::key::Escape)
        return CountKey::RemoveGuest;
    if (isDigit(keyAscii))
        return replyBox ? CountKey::AcceptAndReply : CountKey::Accept;
    if (replyBox && keyAscii == controls::key::Back)
        return CountKey::Accept;
    return CountKey::Discard;
}

QString countText(const QString& text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    const int start = i;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'))
        ++i;
    // Written as digits (not through an integer), so no count is ever cut or wrapped;
    // a number the field cannot hold is refused by the store when the row is written.
    QString digits = text.mid(start, i - start);
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}

AmountKey amountKeyAction(int keyAscii)
{
    if (keyAscii == controls::key::Escape)
        return AmountKey::Clear;
    if (isDigit(keyAscii) || keyAscii == '$')
        return AmountKey::Accept;
    return AmountKey::Discard;
}

QString amountDisplayText(store::Currency amount)
{
    const bool negative = amount < store::Currency();
    const QString plain = (negative ? -amount : amount).toString(2);  // "1234.50"
    const qsizetype point = plain.indexOf(QLatin1Char('.'));
    QString whole = plain.left(point);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, QLatin1Char(','));
    const QString text = QLatin1Char('$') + whole + plain.mid(point);
    return negative ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

QString amountEditText(store::Currency amount)
{
    return controls::formatCell(QVariant::fromValue(amount), controls::CellFormat::GeneralNumber);
}

bool isAmountText(const QString& text)
{
    return controls::isNumericText(text) && store::Currency::parse(text);
}

store::Currency amountOf(const QString& text)
{
    return store::Currency::parse(text).value_or(store::Currency());
}

QString summaryCellText(qint64 number)
{
    return number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
}

QString summaryLabelText(const QVariant& number)
{
    if (!number.isValid() || number.isNull())
        return QStringLiteral("0");
    return controls::formatCell(number, controls::CellFormat::GeneralNumber);
}

bool keepsTabStop(const QString& controlName, const QString& tabCaption)
{
    return controlName.left(3).compare(tabCaption.left(3), Qt::CaseInsensitive) == 0;
}

}  // namespace guests
