#include "budget/ExpenseRules.h"

#include <QLocale>

namespace budget {

QString emptyCellDefault(int column)
{
    if (column == ColQty)
        return QStringLiteral("1");
    if (column >= ColUnitCost && column <= ColOwing)
        return QStringLiteral("0");
    return QString();
}

qint64 wholeQuantity(store::Currency quantity)
{
    const qint64 raw = quantity.raw();
    const qint64 half = store::Currency::Scale / 2;
    return raw >= 0 ? (raw + half) / store::Currency::Scale : -((-raw + half) / store::Currency::Scale);
}

std::optional<store::Currency> lineTotal(store::Currency unitCost, qint64 quantity)
{
    int64_t product = 0;
    if (__builtin_mul_overflow(unitCost.raw(), quantity, &product))
        return std::nullopt;
    return store::Currency::fromRaw(product);
}

store::Currency owingOf(store::Currency total, store::Currency deposit, store::Currency paid)
{
    return total - (deposit + paid);
}

QString sumText(store::Currency amount)
{
    const QLocale locale;
    QString digits = amount.toString(2);  // "-1234.50"
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    QString whole = digits.left(point);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, locale.groupSeparator());
    const QString text = whole + locale.decimalPoint() + digits.mid(point + 1);
    return negative ? QLatin1Char('-') + text : text;
}

}  // namespace budget
