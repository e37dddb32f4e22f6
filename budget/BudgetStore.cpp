#include "budget/BudgetStore.h"

#include "budget/ExpenseRules.h"
#include "controls/CellFormat.h"
#include "store/ReadQuery.h"
#include "store/Transaction.h"

#include <QDateTime>

#include <map>

using controls::moneyOf;
using store::Currency;

namespace budget {

namespace {

std::optional<qint64> keyOf(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    return value.toLongLong();
}

QVariant keyValue(std::optional<qint64> key)
{
    return key ? QVariant(*key) : QVariant();
}

QVariant amountValue(std::optional<Currency> amount)
{
    return amount ? QVariant::fromValue(*amount) : QVariant();
}

QVariant dateValue(QDate date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

std::unique_ptr<store::Recordset> rows(store::Database& db, const QString& sql,
                                       const QVariantList& values = {})
{
    return db.openRecordset(sql, values, store::RecordsetType::Snapshot);
}

using store::FieldType;

// The plan is read with plain SELECTs of the engine: a window over thousands of rows opens
// without a record set's bookkeeping for each of them.
void readItems(store::Database& db, BudgetPlan& plan, bool withPlan)
{
    const QString columns =
        QStringLiteral("SELECT e.rowid, e.Description, e.Total, e.Downpayment, e.Paid, e.Owing");
    store::ReadQuery rows(db,
                          withPlan ? columns + QStringLiteral(", p.CategoryId, p.Estimate, p.VendorKey "
                                                              "FROM Expenses e LEFT JOIN PlanItems p ON "
                                                              "p.ExpenseKey = e.rowid ORDER BY e.rowid")
                                   : columns + QStringLiteral(" FROM Expenses e ORDER BY e.rowid"));
    while (rows.next()) {
        Item item;
        item.key = rows.value(0, FieldType::Number).toLongLong();
        item.description = rows.value(1, FieldType::Text).toString();
        item.total = moneyOf(rows.value(2, FieldType::Currency));
        item.deposit = moneyOf(rows.value(3, FieldType::Currency));
        item.paid = moneyOf(rows.value(4, FieldType::Currency));
        item.owing = moneyOf(rows.value(5, FieldType::Currency));
        if (withPlan) {
            item.category = keyOf(rows.value(6, FieldType::Number));
            if (const QVariant estimate = rows.value(7, FieldType::Currency); estimate.isValid())
                item.estimate = moneyOf(estimate);
            item.vendor = keyOf(rows.value(8, FieldType::Number));
        }
        plan.items.push_back(item);
    }
}

// A stored date as its day number (the Julian day QDate counts in), computed by the engine:
// reading thousands of dates as date-times would cost more than the rest of the plan.
const QString DayNumber = QStringLiteral("CAST(julianday(%1) + 0.5 AS INTEGER)");

QDate dayOf(const QVariant& dayNumber)
{
    return dayNumber.isValid() ? QDate::fromJulianDay(dayNumber.toLongLong()) : QDate();
}

void readPayments(store::Database& db, BudgetPlan& plan)
{
    store::ReadQuery rows(
        db,
        QStringLiteral("SELECT PaymentId, ExpenseKey, Kind, %1, Amount, IsPaid, %2 FROM "
                       "PlanPayments ORDER BY DueDate, PaymentId")
            .arg(DayNumber.arg(QStringLiteral("DueDate")), DayNumber.arg(QStringLiteral("PaidDate"))));
    while (rows.next()) {
        Payment p;
        p.id = rows.value(0, FieldType::Number).toLongLong();
        p.expense = rows.value(1, FieldType::Number).toLongLong();
        p.deposit = rows.value(2, FieldType::Text)
                        .toString()
                        .compare(QStringLiteral("Deposit"), Qt::CaseInsensitive) == 0;
        p.due = dayOf(rows.value(3, FieldType::Number));
        p.amount = moneyOf(rows.value(4, FieldType::Currency));
        p.paid = rows.value(5, FieldType::YesNo).toBool();
        p.paidOn = dayOf(rows.value(6, FieldType::Number));
        plan.payments.push_back(p);
    }
}

Payment paymentOf(const store::Recordset& rs)
{
    Payment p;
    p.id = rs.value(QStringLiteral("PaymentId")).toLongLong();
    p.expense = rs.value(QStringLiteral("ExpenseKey")).toLongLong();
    p.deposit =
        rs.value(QStringLiteral("Kind")).toString().compare(QStringLiteral("Deposit"), Qt::CaseInsensitive) ==
        0;
    p.due = rs.value(QStringLiteral("DueDate")).toDateTime().date();
    p.amount = moneyOf(rs.value(QStringLiteral("Amount")));
    p.paid = rs.value(QStringLiteral("IsPaid")).toBool();
    p.paidOn = rs.value(QStringLiteral("PaidDate")).toDateTime().date();
    return p;
}

// Adds an amount to the Downpayment or Paid column of an expense and recomputes its Owing.
void addToExpense(store::Database& db, store::Bookmark expense, bool deposit, Currency amount)
{
    auto row = db.openRecordset(QStringLiteral("Expenses"), store::RecordsetType::Dynaset);
    if (!row->hasBookmark(expense))
        return;
    row->setBookmark(expense);
    const QString column = deposit ? QStringLiteral("Downpayment") : QStringLiteral("Paid");
    const Currency changed = moneyOf(row->value(column)) + amount;
    const Currency total = moneyOf(row->value(QStringLiteral("Total")));
    const Currency other =
        moneyOf(row->value(deposit ? QStringLiteral("Paid") : QStringLiteral("Downpayment")));
    row->edit();
    row->setValue(column, changed);
    row->setValue(QStringLiteral("Owing"),
                  owingOf(total, deposit ? changed : other, deposit ? other : changed));
    row->update();
}

void insertPayment(store::Database& db, store::Bookmark expense, const Payment& p)
{
    db.execute(
        QStringLiteral("INSERT INTO PlanPayments (ExpenseKey, Kind, DueDate, Amount, IsPaid, PaidDate) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {expense, p.deposit ? QStringLiteral("Deposit") : QStringLiteral("Payment"), dateValue(p.due),
         QVariant::fromValue(p.amount), p.paid, p.paid ? dateValue(p.paidOn) : QVariant()});
    if (p.paid)
        addToExpense(db, expense, p.deposit, p.amount);
}

std::optional<Payment> storedPayment(store::Database& db, qint64 paymentId)
{
    auto rs = rows(db, QStringLiteral("SELECT * FROM PlanPayments WHERE PaymentId = ?"), {paymentId});
    if (rs->eof())
        return std::nullopt;
    return paymentOf(*rs);
}

qint64 lastId(store::Database& db, const QString& table, const QString& column)
{
    auto rs = rows(db, QStringLiteral("SELECT Max(%1) AS Biggest FROM %2").arg(column, table));
    return rs->eof() ? 0 : rs->value(0).toLongLong();
}

void writeItemPlan(store::Database& db, store::Bookmark expense, std::optional<qint64> category,
                   std::optional<Currency> estimate, std::optional<qint64> vendor, const QString& notes)
{
    db.execute(QStringLiteral("DELETE FROM PlanItems WHERE ExpenseKey = ?"), {expense});
    db.execute(QStringLiteral("INSERT INTO PlanItems (ExpenseKey, CategoryId, Estimate, VendorKey, Notes) "
                              "VALUES (?, ?, ?, ?, ?)"),
               {expense, keyValue(category), amountValue(estimate), keyValue(vendor),
                notes.isEmpty() ? QVariant() : QVariant(notes)});
}

}  // namespace

// The main window asks at every start (the overdue payments): one look-up of the four names
// costs a fraction of listing every table.
bool hasPlanTables(store::Database& db)
{
    store::ReadQuery found(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                              "name COLLATE NOCASE IN ('PlanCategories', 'PlanItems', "
                                              "'PlanPayments', 'PlanTotals')"));
    return found.next() && found.value(0, FieldType::Number).toLongLong() == 4;
}

BudgetPlan loadPlan(store::Database& db)
{
    BudgetPlan plan;
    const bool withPlan = hasPlanTables(db);
    readItems(db, plan, withPlan);
    auto vendors = rows(db, QStringLiteral("SELECT VendorName FROM Vendors ORDER BY VendorName"));
    for (; !vendors->eof(); vendors->moveNext())
        plan.vendors.emplace_back(vendors->bookmark(), vendors->value(0).toString());
    if (!withPlan)
        return plan;
    auto totals = rows(db, QStringLiteral("SELECT TotalBudget FROM PlanTotals"));
    if (!totals->eof())
        plan.totalBudget = moneyOf(totals->value(0));
    auto categories = rows(
        db, QStringLiteral("SELECT CategoryId, Name, Planned FROM PlanCategories ORDER BY SortOrder, Name"));
    for (; !categories->eof(); categories->moveNext())
        plan.categories.push_back({categories->value(0).toLongLong(), categories->value(1).toString(),
                                   moneyOf(categories->value(2))});
    readPayments(db, plan);
    return plan;
}

OverdueSum readOverdue(store::Database& db, QDate today)
{
    BudgetPlan plan;
    if (hasPlanTables(db))
        readPayments(db, plan);
    return overdueOf(plan, today);
}

store::Bookmark addExpense(store::Database& db, const NewExpense& expense)
{
    const std::optional<Currency> total = lineTotal(expense.unitCost, expense.quantity);
    if (!total)
        throw store::StoreError(
            store::err::InvalidOperation,
            QStringLiteral("\"%1\": its cost times its quantity is more than an amount can hold.")
                .arg(expense.description));
    store::Transaction change;
    auto row = db.openRecordset(QStringLiteral("Expenses"), store::RecordsetType::Dynaset);
    row->addNew();
    row->setValue(QStringLiteral("Description"), expense.description);
    row->setValue(QStringLiteral("Amount"), expense.unitCost);
    row->setValue(QStringLiteral("Quantity"), expense.quantity);
    row->setValue(QStringLiteral("Downpayment"), expense.deposit);
    row->setValue(QStringLiteral("Paid"), expense.paid);
    row->setValue(QStringLiteral("Total"), *total);
    row->setValue(QStringLiteral("Owing"), owingOf(*total, expense.deposit, expense.paid));
    row->update();
    const store::Bookmark key = row->lastModified();
    writeItemPlan(db, key, expense.category, expense.estimate, expense.vendor, expense.notes);
    for (const Payment& payment : expense.payments)
        insertPayment(db, key, payment);
    change.commit();
    return key;
}

void setItemPlan(store::Database& db, store::Bookmark expense, std::optional<qint64> category,
                 std::optional<Currency> estimate, std::optional<qint64> vendor)
{
    store::Transaction change;
    auto notes = rows(db, QStringLiteral("SELECT Notes FROM PlanItems WHERE ExpenseKey = ?"), {expense});
    writeItemPlan(db, expense, category, estimate, vendor,
                  notes->eof() ? QString() : notes->value(0).toString());
    change.commit();
}

qint64 addPayment(store::Database& db, const Payment& payment)
{
    store::Transaction change;
    insertPayment(db, payment.expense, payment);
    const qint64 id = lastId(db, QStringLiteral("PlanPayments"), QStringLiteral("PaymentId"));
    change.commit();
    return id;
}

void removePayment(store::Database& db, qint64 paymentId)
{
    store::Transaction change;
    if (const std::optional<Payment> stored = storedPayment(db, paymentId)) {
        if (stored->paid)
            addToExpense(db, stored->expense, stored->deposit, -stored->amount);
        db.execute(QStringLiteral("DELETE FROM PlanPayments WHERE PaymentId = ?"), {paymentId});
    }
    change.commit();
}

void setPaymentPaid(store::Database& db, qint64 paymentId, bool paid, QDate paidOn)
{
    store::Transaction change;
    const std::optional<Payment> stored = storedPayment(db, paymentId);
    if (!stored)
        throw store::StoreError(store::err::InvalidOperation,
                                QStringLiteral("That payment is no longer there."));
    if (stored->paid != paid)
        addToExpense(db, stored->expense, stored->deposit, paid ? stored->amount : -stored->amount);
    db.execute(QStringLiteral("UPDATE PlanPayments SET IsPaid = ?, PaidDate = ? WHERE PaymentId = ?"),
               {paid, paid ? dateValue(paidOn) : QVariant(), paymentId});
    change.commit();
}

qint64 addCategory(store::Database& db, const QString& name, Currency planned)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw store::StoreError(store::err::InvalidOperation, QStringLiteral("A category needs a name."));
    store::Transaction change;
    auto same = rows(db, QStringLiteral("SELECT CategoryId FROM PlanCategories WHERE Name = ?"), {trimmed});
    if (!same->eof())
        throw store::StoreError(store::err::InvalidOperation,
                                QStringLiteral("There is already a category \"%1\".").arg(trimmed));
    const qint64 order = lastId(db, QStringLiteral("PlanCategories"), QStringLiteral("SortOrder")) + 1;
    db.execute(QStringLiteral("INSERT INTO PlanCategories (Name, Planned, SortOrder) VALUES (?, ?, ?)"),
               {trimmed, QVariant::fromValue(planned), order});
    const qint64 id = lastId(db, QStringLiteral("PlanCategories"), QStringLiteral("CategoryId"));
    change.commit();
    return id;
}

void setCategoryPlanned(store::Database& db, qint64 categoryId, Currency planned)
{
    db.execute(QStringLiteral("UPDATE PlanCategories SET Planned = ? WHERE CategoryId = ?"),
               {QVariant::fromValue(planned), categoryId});
}

void setTotalBudget(store::Database& db, Currency amount)
{
    db.execute(QStringLiteral("UPDATE PlanTotals SET TotalBudget = ? WHERE TotalsId = 1"),
               {QVariant::fromValue(amount)});
}

}  // namespace budget
