// The budget's plan in the wedding file: reading it whole, and the changes the budget window
// and the expense import make, each in one transaction of the default workspace.
//
//   budget::BudgetPlan plan = budget::loadPlan(db);
//   store::Bookmark key = budget::addExpense(db, expense);      // the row and its plan together
//   budget::setPaymentPaid(db, paymentId, true, QDate::currentDate());
//
// An expense is named by its key, the bookmark of its Expenses row, which compaction and
// repair keep. The expense list's columns keep their rules under every change made here:
// Total is Amount x Quantity and Owing is Total - (Downpayment + Paid). Marking a payment paid
// adds its amount to the row's Downpayment (a deposit) or Paid (a later payment), and marking
// it unpaid again takes it off, so the list and the plan tell the same story.
//
// Every function throws store::StoreError; nothing is changed then.
#pragma once

#include "budget/BudgetRules.h"
#include "store/Store.h"

namespace budget {

// Whether the file holds the plan's tables (a file opened read-only is not brought up to
// date, so an older one has none). Without them the plan is the expense list alone.
bool hasPlanTables(store::Database& db);

BudgetPlan loadPlan(store::Database& db);

// The overdue payments on a day, reading only the payments (for the main window's notice).
OverdueSum readOverdue(store::Database& db, QDate today);

// A new expense row with its plan.
struct NewExpense {
    QString description;
    store::Currency unitCost;
    qint64 quantity = 1;
    store::Currency deposit, paid;
    std::optional<qint64> category;
    std::optional<store::Currency> estimate;
    std::optional<qint64> vendor;
    QString notes;
    std::vector<Payment> payments;  // id and expense are ignored
};

// Adds the row, its plan and its payments in one transaction. Throws StoreError when the
// unit cost times the quantity is more than an amount can hold.
store::Bookmark addExpense(store::Database& db, const NewExpense& expense);

// Sets an item's category, estimate and vendor (nullopt clears each).
void setItemPlan(store::Database& db, store::Bookmark expense, std::optional<qint64> category,
                 std::optional<store::Currency> estimate, std::optional<qint64> vendor);

// A payment for an expense; returns its id. A payment added as paid counts at once.
qint64 addPayment(store::Database& db, const Payment& payment);
// Removes a payment; a paid one's amount comes off the expense's columns with it.
void removePayment(store::Database& db, qint64 paymentId);
// Marks a payment paid on a day (or unpaid) and keeps the expense's columns in step.
void setPaymentPaid(store::Database& db, qint64 paymentId, bool paid, QDate paidOn);

qint64 addCategory(store::Database& db, const QString& name, store::Currency planned);
void setCategoryPlanned(store::Database& db, qint64 categoryId, store::Currency planned);
void setTotalBudget(store::Database& db, store::Currency amount);

}  // namespace budget
