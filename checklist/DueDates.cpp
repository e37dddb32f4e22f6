#include "checklist/DueDates.h"

#include <cmath>

namespace checklist {

namespace {

std::optional<int> integerCode(const QVariant& code)
{
    if (code.isNull() || !code.isValid())
        return std::nullopt;
    bool ok = false;
    const double value = code.toDouble(&ok);
    if (!ok || std::floor(value) != value)
        return std::nullopt;
    return int(value);
}

}  // namespace

std::optional<QDateTime> dueDateFor(const QDateTime& weddingDate, const QVariant& code)
{
    const std::optional<int> n = integerCode(code);
    if (!n)
        return std::nullopt;
    const QTime time = weddingDate.time();
    const QDate day = weddingDate.date();
    // QDate::addMonths takes the month's last day when the day does not exist there.
    auto at = [&](const QDate& d) { return QDateTime(d, time, weddingDate.timeSpec()); };
    switch (*n) {
        case SixMonths:
            return at(day.addMonths(-6));
        case FourMonths:
            return at(day.addMonths(-4));
        case TwoMonths:
            return at(day.addMonths(-2));
        case OneMonth:
            return at(day.addMonths(-1));
        case TwoWeeks:
            return at(day.addDays(-14));
        case OneWeek:
            return at(day.addDays(-7));
        case TwoDays:
            return at(day.addDays(-2));
        case OneDay:
            return at(day.addDays(-1));
        case WeddingDay:
            return weddingDate;
        default:
            return std::nullopt;
    }
}

}  // namespace checklist
