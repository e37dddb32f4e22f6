// The budget's figures, without widgets or the database: per category what was planned,
// estimated and spent, what is paid and owing and how far over or under plan it stands; and
// which payments fall due soon or are overdue. Money is exact (store::Currency).
//
//   budget::BudgetPlan plan = budget::loadPlan(db);            // budget/BudgetStore.h
//   std::vector<budget::CategoryFigures> rows = budget::categoryFigures(plan);
//   budget::CategoryFigures all = budget::totalOf(rows);
//   std::vector<budget::DuePayment> soon = budget::paymentsDue(plan, today);
#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace budget {

// A spending category and the amount the couple plans for it.
struct Category {
    qint64 id = 0;
    QString name;
    store::Currency planned;
};

// One payment of an expense: the deposit or a later payment.
struct Payment {
    qint64 id = 0;
    qint64 expense = 0;  // the expense's key
    bool deposit = false;
    QDate due;  // invalid: no due date yet
    store::Currency amount;
    bool paid = false;
    QDate paidOn;
};

// An expense row with its plan. total, deposit, paid and owing are the expense list's own
// columns (Total, Downpayment, Paid, Owing); a Null reads as 0.
struct Item {
    qint64 key = 0;
    QString description;
    std::optional<qint64> category;  // none: not in a category
    std::optional<store::Currency> estimate;
    std::optional<qint64> vendor;  // the vendor's key
    store::Currency total, deposit, paid, owing;
};

struct BudgetPlan {
    store::Currency totalBudget;
    std::vector<Category> categories;  // in the order they are shown
    std::vector<Item> items;
    std::vector<Payment> payments;
    std::vector<std::pair<qint64, QString>> vendors;  // key and name
};

// What an item is expected to cost: its actual total once it has one, else its estimate.
store::Currency expectedCost(const Item& item);

struct CategoryFigures {
    std::optional<qint64> category;  // none: the items without a category
    QString name;
    store::Currency planned, estimated, actual, paid, owing;
    store::Currency expected;  // the expected costs of its items
    int items = 0;
    // Planned less expected: negative when the category is over plan.
    store::Currency underPlan() const { return planned - expected; }
    bool overPlan() const { return expected > planned; }
};

// The name of the row that gathers the items without a category.
QString uncategorisedName();

// One row per category in the plan's order, then one for the items without a category when
// there are any. Items of a category that is not in the plan count as without one.
std::vector<CategoryFigures> categoryFigures(const BudgetPlan& plan);

// The items a row of categoryFigures() counts, in the plan's order.
std::vector<const Item*> itemsOf(const BudgetPlan& plan, const CategoryFigures& row);

// The payments of an expense, in the plan's order.
std::vector<const Payment*> paymentsOf(const BudgetPlan& plan, qint64 expense);

// The sums of the rows, named "Total".
CategoryFigures totalOf(const std::vector<CategoryFigures>& rows);

// Where a payment stands on a day.
enum class PaymentState { Paid, Overdue, DueSoon, Later, Undated };

// The number of days ahead that counts as "due soon", today included.
inline constexpr int DueSoonDays = 30;

// Paid; overdue when its due date is before today; due soon when it falls from today to
// today + DueSoonDays; later after that; undated without a due date.
PaymentState paymentState(const Payment& payment, QDate today);

struct DuePayment {
    Payment payment;
    QString item;
    QString vendor;  // empty without one
    PaymentState state = PaymentState::Later;
};

// The unpaid payments that are overdue or due soon, earliest first.
std::vector<DuePayment> paymentsDue(const BudgetPlan& plan, QDate today);

// The unpaid payments due before today and what they add up to.
struct OverdueSum {
    int count = 0;
    store::Currency amount;
};
OverdueSum overdueOf(const BudgetPlan& plan, QDate today);

// The last day of the month of a date.
QDate lastDayOfMonth(QDate date);

// What is still to pay by the end of today's month: every unpaid payment due on or before
// that day, overdue ones included.
store::Currency toPayThisMonth(const BudgetPlan& plan, QDate today);

// A plain amount for files: two decimals, no grouping, "-" when negative ("1234.50").
QString plainAmount(store::Currency amount);

// The columns of the figures as a table: "Category", "Planned", "Estimated", "Actual", "Paid",
// "Owing"; and one row's cells, the amounts as plainAmount.
QStringList figureColumns();
QStringList figureCells(const CategoryFigures& row);

}  // namespace budget
