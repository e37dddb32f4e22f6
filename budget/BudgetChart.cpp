#include "budget/BudgetChart.h"

#include "shell/Modules.h"

#include <QLocale>

#include <map>

using store::Currency;

namespace budget {

BudgetChartData chartData(const BudgetPlan& plan, QDate today)
{
    BudgetChartData data;
    data.currencySymbol = QLocale().currencySymbol();
    for (const CategoryFigures& row : categoryFigures(plan))
        if (row.planned != Currency() || row.expected != Currency())
            data.categories.push_back(
                {row.name, row.planned.toDouble(), row.expected.toDouble(), row.paid.toDouble()});

    Currency overdue;
    std::map<QDate, Currency> byMonth;  // keyed by the month's first day
    for (const Payment& payment : plan.payments) {
        if (payment.paid || !payment.due.isValid())
            continue;
        if (payment.due < today)
            overdue += payment.amount;
        else
            byMonth[QDate(payment.due.year(), payment.due.month(), 1)] += payment.amount;
    }
    if (overdue != Currency())
        data.months.push_back({QStringLiteral("Overdue"), overdue.toDouble()});
    for (const auto& [month, amount] : byMonth)
        data.months.push_back({QLocale().toString(month, QStringLiteral("MMM yyyy")), amount.toDouble()});
    return data;
}

QWidget* makeChartWidget(const BudgetChartData& data, QWidget* parent, QString* why)
{
    const auto make =
        shell::moduleFunction<ChartFunction>(QString::fromLatin1(ChartModuleName), "orvaneBudgetChart", why);
    return make ? make(&data, parent) : nullptr;
}

}  // namespace budget
