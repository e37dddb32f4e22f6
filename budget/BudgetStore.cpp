#include "budget/BudgetStore.h"

#include "budget/ExpenseRules.h"
#include "controls/CellFormat.h"

#include <QDateTime>

#include <map>

using controls::moneyOf;
using store::Currency;

namespace budget {

namespace {

// One change of the plan: rolled back unless committed.
class PlanChange {
public:
    PlanChange() { store::Workspace::defaultWorkspace().beginTrans(); }
    ~PlanChange()
    {
        if (!open_)
            return;
        try {
            store::Workspace::defaultWorkspace().rollback();
        } catch (const store::StoreError&) {
        }
    }
    PlanChange(const PlanChange&) = delete;
    PlanChange& operator=(const PlanChange&) = delete;
    void commit()
    {
        store::Workspace::defaultWorkspace().commitTrans();
        open_ = false;
    }

private:
    bool open_ = true;
};

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

std::unique_ptr<store::Recordset> rows(store::Database& db, const QString& sql)
{
    return db.openRecordset(sql, store::RecordsetType::Snapshot);
}

void readItems(store::Database& db, BudgetPlan& plan, bool withPlan)
{
    std::map<qint64, size_t> indexOf;
    auto expenses = rows(db, QStringLiteral("Expenses"));
    for (; !expenses->eof(); expenses->moveNext()) {
        Item item;
        item.key = expenses->bookmark();
        item.description = expenses->value(QStringLiteral("Description")).toString();
        item.total = moneyOf(expenses->value(QStringLiteral("Total")));
        item.deposit = moneyOf(expenses->value(QStringLiteral("Downpayment")));
        item.paid = moneyOf(expenses->value(QStringLiteral("Paid")));
        item.owing = moneyOf(expenses->value(QStringLiteral("Owing")));
        indexOf[item.key] = plan.items.size();
        plan.items.push_back(item);
    }
    if (!withPlan)
        return;
    auto planned =
        rows(db, QStringLiteral("SELECT ExpenseKey, CategoryId, Estimate, VendorKey FROM PlanItems"));
    for (; !planned->eof(); planned->moveNext()) {
        const auto found = indexOf.find(planned->value(0).toLongLong());
        if (found == indexOf.end())
            continue;
        Item& item = plan.items[found->second];
        item.category = keyOf(planned->value(1));
        if (const QVariant estimate = planned->value(2); !estimate.isNull() && estimate.isValid())
            item.estimate = moneyOf(estimate);
        item.vendor = keyOf(planned->value(3));
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
    auto rs =
        db.openRecordset(QStringLiteral("SELECT * FROM PlanPayments WHERE PaymentId = %1").arg(paymentId),
                         store::RecordsetType::Snapshot);
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

bool hasPlanTables(store::Database& db)
{
    const QStringList tables = db.tableNames();
    for (const char* table : {"PlanCategories", "PlanItems", "PlanPayments", "PlanTotals"})
        if (!tables.contains(QLatin1String(table), Qt::CaseInsensitive))
            return false;
    return true;
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
    auto payments = rows(db, QStringLiteral("SELECT * FROM PlanPayments ORDER BY DueDate, PaymentId"));
    for (; !payments->eof(); payments->moveNext())
        plan.payments.push_back(paymentOf(*payments));
    return plan;
}

store::Bookmark addExpense(store::Database& db, const NewExpense& expense)
{
    const std::optional<Currency> total = lineTotal(expense.unitCost, expense.quantity);
    if (!total)
        throw store::StoreError(
            store::err::InvalidOperation,
            QStringLiteral("\"%1\": its cost times its quantity is more than an amount can hold.")
                .arg(expense.description));
    PlanChange change;
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
    PlanChange change;
    auto notes = rows(db, QStringLiteral("SELECT Notes FROM PlanItems WHERE ExpenseKey = %1").arg(expense));
    writeItemPlan(db, expense, category, estimate, vendor,
                  notes->eof() ? QString() : notes->value(0).toString());
    change.commit();
}

qint64 addPayment(store::Database& db, const Payment& payment)
{
    PlanChange change;
    insertPayment(db, payment.expense, payment);
    const qint64 id = lastId(db, QStringLiteral("PlanPayments"), QStringLiteral("PaymentId"));
    change.commit();
    return id;
}

void removePayment(store::Database& db, qint64 paymentId)
{
    PlanChange change;
    if (const std::optional<Payment> stored = storedPayment(db, paymentId)) {
        if (stored->paid)
            addToExpense(db, stored->expense, stored->deposit, -stored->amount);
        db.execute(QStringLiteral("DELETE FROM PlanPayments WHERE PaymentId = ?"), {paymentId});
    }
    change.commit();
}

void setPaymentPaid(store::Database& db, qint64 paymentId, bool paid, QDate paidOn)
{
    PlanChange change;
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
    PlanChange change;
    auto same = rows(db, QStringLiteral("SELECT CategoryId FROM PlanCategories WHERE Name = %1")
                             .arg(store::quoteText(trimmed)));
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
