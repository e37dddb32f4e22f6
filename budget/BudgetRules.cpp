#include "budget/BudgetRules.h"

#include <algorithm>
#include <map>

using store::Currency;

namespace budget {

Currency expectedCost(const Item& item)
{
    if (item.total != Currency() || !item.estimate)
        return item.total;
    return *item.estimate;
}

QString uncategorisedName()
{
    return QStringLiteral("(No category)");
}

namespace {

void addItem(CategoryFigures& row, const Item& item)
{
    row.estimated += item.estimate.value_or(Currency());
    row.actual += item.total;
    row.paid += item.deposit + item.paid;
    row.owing += item.owing;
    row.expected += expectedCost(item);
    ++row.items;
}

}  // namespace

namespace {

bool isKnownCategory(const BudgetPlan& plan, std::optional<qint64> category)
{
    return category && std::any_of(plan.categories.begin(), plan.categories.end(),
                                   [&](const Category& c) { return c.id == *category; });
}

}  // namespace

std::vector<const Item*> itemsOf(const BudgetPlan& plan, const CategoryFigures& row)
{
    std::vector<const Item*> items;
    for (const Item& item : plan.items)
        if (row.category ? item.category == row.category : !isKnownCategory(plan, item.category))
            items.push_back(&item);
    return items;
}

std::vector<const Payment*> paymentsOf(const BudgetPlan& plan, qint64 expense)
{
    std::vector<const Payment*> payments;
    for (const Payment& payment : plan.payments)
        if (payment.expense == expense)
            payments.push_back(&payment);
    return payments;
}

std::vector<CategoryFigures> categoryFigures(const BudgetPlan& plan)
{
    std::vector<CategoryFigures> rows;
    rows.reserve(plan.categories.size() + 1);
    std::map<qint64, size_t> rowOf;
    for (const Category& category : plan.categories) {
        rowOf[category.id] = rows.size();
        CategoryFigures row;
        row.category = category.id;
        row.name = category.name;
        row.planned = category.planned;
        rows.push_back(row);
    }
    CategoryFigures without;
    without.name = uncategorisedName();
    for (const Item& item : plan.items) {
        const auto found = item.category ? rowOf.find(*item.category) : rowOf.end();
        addItem(found == rowOf.end() ? without : rows[found->second], item);
    }
    if (without.items > 0)
        rows.push_back(without);
    return rows;
}

CategoryFigures totalOf(const std::vector<CategoryFigures>& rows)
{
    CategoryFigures total;
    total.name = QStringLiteral("Total");
    for (const CategoryFigures& row : rows) {
        total.planned += row.planned;
        total.estimated += row.estimated;
        total.actual += row.actual;
        total.paid += row.paid;
        total.owing += row.owing;
        total.expected += row.expected;
        total.items += row.items;
    }
    return total;
}

PaymentState paymentState(const Payment& payment, QDate today)
{
    if (payment.paid)
        return PaymentState::Paid;
    if (!payment.due.isValid())
        return PaymentState::Undated;
    if (payment.due < today)
        return PaymentState::Overdue;
    if (payment.due <= today.addDays(DueSoonDays))
        return PaymentState::DueSoon;
    return PaymentState::Later;
}

std::vector<DuePayment> paymentsDue(const BudgetPlan& plan, QDate today)
{
    std::map<qint64, const Item*> items;
    for (const Item& item : plan.items)
        items[item.key] = &item;
    std::map<qint64, QString> vendors(plan.vendors.begin(), plan.vendors.end());
    std::vector<DuePayment> due;
    for (const Payment& payment : plan.payments) {
        const PaymentState state = paymentState(payment, today);
        if (state != PaymentState::Overdue && state != PaymentState::DueSoon)
            continue;
        DuePayment entry{payment, QString(), QString(), state};
        if (const auto item = items.find(payment.expense); item != items.end()) {
            entry.item = item->second->description;
            if (item->second->vendor)
                entry.vendor = vendors[*item->second->vendor];
        }
        due.push_back(entry);
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DuePayment& a, const DuePayment& b) { return a.payment.due < b.payment.due; });
    return due;
}

OverdueSum overdueOf(const BudgetPlan& plan, QDate today)
{
    OverdueSum sum;
    for (const Payment& payment : plan.payments)
        if (paymentState(payment, today) == PaymentState::Overdue) {
            ++sum.count;
            sum.amount += payment.amount;
        }
    return sum;
}

QDate lastDayOfMonth(QDate date)
{
    return QDate(date.year(), date.month(), date.daysInMonth());
}

Currency toPayThisMonth(const BudgetPlan& plan, QDate today)
{
    const QDate monthEnd = lastDayOfMonth(today);
    Currency sum;
    for (const Payment& payment : plan.payments)
        if (!payment.paid && payment.due.isValid() && payment.due <= monthEnd)
            sum += payment.amount;
    return sum;
}

QString plainAmount(Currency amount)
{
    return amount.toString(2);
}

QStringList figureColumns()
{
    return {QStringLiteral("Category"), QStringLiteral("Planned"), QStringLiteral("Estimated"),
            QStringLiteral("Actual"),   QStringLiteral("Paid"),    QStringLiteral("Owing")};
}

QStringList figureCells(const CategoryFigures& row)
{
    return {row.name,
            plainAmount(row.planned),
            plainAmount(row.estimated),
            plainAmount(row.actual),
            plainAmount(row.paid),
            plainAmount(row.owing)};
}

}  // namespace budget
