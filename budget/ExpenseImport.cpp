#include "budget/ExpenseImport.h"

#include "budget/ExpenseRules.h"
#include "shell/DateText.h"
#include "store/Backup.h"
#include "store/Undo.h"
#include "store/Transaction.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <variant>

#include <map>

using store::Currency;

namespace budget {

namespace {

struct FieldInfo {
    ExpenseField field;
    const char* key;
    const char* caption;
    // Headers that name the field, lower case, letters and single blanks only.
    std::vector<const char*> headers;
};

const std::vector<FieldInfo>& fieldInfos()
{
    static const std::vector<FieldInfo> infos = {
        {ExpenseField::Category,
         "category",
         "Category",
         {"category", "type", "group", "section", "budget category"}},
        {ExpenseField::Item,
         "item",
         "Item",
         {"item", "description", "expense", "name", "details", "budget item"}},
        {ExpenseField::Vendor,
         "vendor",
         "Vendor",
         {"vendor", "supplier", "company", "provider", "payee", "paid to"}},
        {ExpenseField::Estimated,
         "estimated",
         "Estimated",
         {"estimated", "estimate", "estimated cost", "estimated amount", "budget", "budgeted", "planned",
          "projected", "est cost"}},
        {ExpenseField::Actual,
         "actual",
         "Actual",
         {"actual", "actual cost", "actual amount", "cost", "price", "amount", "total cost", "final cost",
          "spent"}},
        {ExpenseField::Quantity, "qty", "Qty", {"qty", "quantity", "units", "count"}},
        {ExpenseField::Deposit,
         "deposit",
         "Deposit",
         {"deposit", "deposit paid", "down payment", "downpayment", "retainer"}},
        {ExpenseField::Paid,
         "paid",
         "Paid",
         {"paid", "amount paid", "paid to date", "paid so far", "total paid", "payments made", "payments"}},
        {ExpenseField::DueDate,
         "due",
         "Due date",
         {"due", "due date", "date due", "payment due", "due on", "balance due date", "next payment due"}},
        {ExpenseField::Notes, "notes", "Notes", {"notes", "note", "comments", "comment", "remarks"}},
    };
    return infos;
}

QString normalHeader(const QString& header)
{
    QString letters;
    for (const QChar c : header.toLower())
        letters += c.isLetter() ? c : QLatin1Char(' ');
    return letters.simplified();
}

bool isBlank(const QStringList& cells)
{
    return std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.trimmed().isEmpty(); });
}

bool isTotalText(const QString& text)
{
    static const QRegularExpression total(QStringLiteral("^(grand\\s+|sub\\s*)?totals?\\b|^sum\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return total.match(text.trimmed()).hasMatch();
}

// The digits of a money text with a point as decimal separator and a leading minus, or empty
// when it is no amount.
QString plainDigits(const QString& text, bool decimalComma)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = s.mid(1, s.size() - 2);
    }
    // Signs, currency signs and codes may stand before and after the number; inside it only
    // digits, separators and blanks between groups.
    const auto isWrapping = [](QChar c) {
        return c.isLetter() || c.isSpace() || c.category() == QChar::Symbol_Currency;
    };
    qsizetype from = 0, to = s.size();
    while (from < to && (isWrapping(s[from]) || s[from] == QLatin1Char('-'))) {
        negative = negative || s[from] == QLatin1Char('-');
        ++from;
    }
    while (to > from && isWrapping(s[to - 1]))
        --to;
    QString kept;
    for (qsizetype i = from; i < to; ++i) {
        if (s[i].isDigit() || s[i] == QLatin1Char('.') || s[i] == QLatin1Char(','))
            kept += s[i];
        else if (!s[i].isSpace())
            return QString();
    }
    const QChar grouping = decimalComma ? QLatin1Char('.') : QLatin1Char(',');
    const QChar decimal = decimalComma ? QLatin1Char(',') : QLatin1Char('.');
    static const QRegularExpression grouped(
        QStringLiteral("^\\d{1,3}(G\\d{3})+(D\\d+)?$|^\\d+(D\\d+)?$|^D\\d+$"));
    QString pattern = grouped.pattern();
    pattern.replace(QLatin1Char('G'), QRegularExpression::escape(grouping))
        .replace(QLatin1Char('D'), QRegularExpression::escape(decimal));
    if (!QRegularExpression(pattern).match(kept).hasMatch())
        return QString();
    kept.remove(grouping).replace(decimal, QLatin1Char('.'));
    return negative ? QLatin1Char('-') + kept : kept;
}

QDate readDate(const QString& text)
{
    const QString s = text.trimmed();
    if (const QDate d = shell::parseDateText(s); d.isValid())
        return d;
    for (const char* format :
         {"yyyy-MM-dd", "d.M.yyyy", "d MMM yyyy", "d MMMM yyyy", "MMM d, yyyy", "MMMM d, yyyy"})
        if (const QDate d = QLocale::c().toDate(s, QString::fromLatin1(format)); d.isValid())
            return d;
    return QDate();
}

struct RowReader {
    const QStringList& headers;
    const ExpenseColumns& columns;
    bool decimalComma;

    QString text(const QStringList& cells, ExpenseField field) const
    {
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c] == field)
                return cells.value(qsizetype(c)).trimmed();
        return QString();
    }
    QString header(ExpenseField field) const
    {
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c] == field)
                return headers.value(qsizetype(c));
        return fieldCaption(field);
    }
    // An amount of a column; a blank one is nullopt; one that cannot be read sets *problem.
    std::optional<Currency> amount(const QStringList& cells, ExpenseField field, QString* problem) const
    {
        bool blank = false;
        const QString written = text(cells, field);
        const std::optional<Currency> value = readMoney(written, decimalComma, &blank);
        if (blank)
            return std::nullopt;
        if (!value)
            *problem = QStringLiteral("%1 \"%2\" is not an amount").arg(header(field), written);
        else if (*value < Currency())
            *problem = QStringLiteral("%1 \"%2\" is less than 0").arg(header(field), written);
        return value;
    }
};

template <typename List>
std::optional<qint64> findByName(const List& list, const QString& name)
{
    for (const auto& [key, itemName] : list)
        if (itemName.compare(name, Qt::CaseInsensitive) == 0)
            return key;
    return std::nullopt;
}

// What the row reads as, or the reason it cannot be read.
std::variant<ExpenseRow, QString> readRow(const RowReader& reader, const QStringList& cells,
                                          const BudgetPlan& plan)
{
    QString problem;
    const auto estimate = reader.amount(cells, ExpenseField::Estimated, &problem);
    const auto actual = reader.amount(cells, ExpenseField::Actual, &problem);
    const auto deposit = reader.amount(cells, ExpenseField::Deposit, &problem);
    const auto paid = reader.amount(cells, ExpenseField::Paid, &problem);
    const auto quantity = reader.amount(cells, ExpenseField::Quantity, &problem);
    if (!problem.isEmpty())
        return problem;
    ExpenseRow row;
    NewExpense& e = row.expense;
    row.categoryName = reader.text(cells, ExpenseField::Category);
    row.vendorName = reader.text(cells, ExpenseField::Vendor);
    e.description = reader.text(cells, ExpenseField::Item);
    if (e.description.isEmpty())
        e.description = row.categoryName;
    e.estimate = estimate;
    e.unitCost = actual ? *actual : estimate.value_or(Currency());
    e.quantity = quantity ? wholeQuantity(*quantity) : 1;
    e.deposit = deposit.value_or(Currency());
    e.paid = paid.value_or(Currency());
    e.notes = reader.text(cells, ExpenseField::Notes);
    if (!row.vendorName.isEmpty()) {
        std::vector<std::pair<qint64, QString>> vendors(plan.vendors.begin(), plan.vendors.end());
        e.vendor = findByName(vendors, row.vendorName);
        if (!e.vendor)
            e.notes = (e.notes.isEmpty() ? QString() : e.notes + QLatin1Char(' ')) +
                      QStringLiteral("Vendor: %1").arg(row.vendorName);
    }
    const std::optional<Currency> total = lineTotal(e.unitCost, e.quantity);
    if (!total)
        return QStringLiteral("its cost times its quantity is more than an amount can hold");
    if (const QString due = reader.text(cells, ExpenseField::DueDate); !due.isEmpty()) {
        Payment balance;
        balance.due = readDate(due);
        if (!balance.due.isValid())
            return QStringLiteral("%1 \"%2\" is not a date").arg(reader.header(ExpenseField::DueDate), due);
        balance.amount = owingOf(*total, e.deposit, e.paid);
        if (balance.amount > Currency())
            e.payments.push_back(balance);
    }
    return row;
}

}  // namespace

QString fieldCaption(ExpenseField field)
{
    for (const FieldInfo& info : fieldInfos())
        if (info.field == field)
            return QString::fromLatin1(info.caption);
    return QStringLiteral("not imported");
}

std::optional<ExpenseField> fieldOfKey(const QString& key)
{
    if (key.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return ExpenseField::None;
    for (const FieldInfo& info : fieldInfos())
        if (key.compare(QLatin1String(info.key), Qt::CaseInsensitive) == 0)
            return info.field;
    return std::nullopt;
}

ExpenseColumns guessExpenseColumns(const QStringList& headers)
{
    ExpenseColumns columns(size_t(headers.size()), ExpenseField::None);
    std::vector<ExpenseField> taken;
    for (qsizetype c = 0; c < headers.size(); ++c) {
        const QString header = normalHeader(headers[c]);
        for (const FieldInfo& info : fieldInfos()) {
            if (std::find(taken.begin(), taken.end(), info.field) != taken.end())
                continue;
            const bool named = std::any_of(info.headers.begin(), info.headers.end(),
                                           [&](const char* h) { return header == QLatin1String(h); });
            if (named) {
                columns[size_t(c)] = info.field;
                taken.push_back(info.field);
                break;
            }
        }
    }
    return columns;
}

bool looksLikeExpenseHeader(const QStringList& record)
{
    const ExpenseColumns columns = guessExpenseColumns(record);
    const auto named =
        std::count_if(columns.begin(), columns.end(), [](ExpenseField f) { return f != ExpenseField::None; });
    const bool anyAmount = std::any_of(record.begin(), record.end(), [](const QString& cell) {
        return readMoney(cell, false).has_value() || readMoney(cell, true).has_value();
    });
    return named >= 2 && !anyAmount;
}

ExpenseTable expenseTable(QList<QStringList> records, QList<int> recordNumbers, std::optional<bool> header)
{
    ExpenseTable table;
    table.headerRow = !records.isEmpty() && header.value_or(looksLikeExpenseHeader(records.first()));
    if (table.headerRow) {
        table.headers = records.takeFirst();
        recordNumbers.removeFirst();
    }
    qsizetype width = table.headers.size();
    for (const QStringList& record : records)
        width = std::max(width, record.size());
    for (qsizetype c = table.headers.size(); c < width; ++c)
        table.headers << QStringLiteral("Column %1").arg(c + 1);
    table.rows = std::move(records);
    table.rowNumbers = std::move(recordNumbers);
    return table;
}

std::optional<Currency> readMoney(const QString& text, bool decimalComma, bool* blank)
{
    if (blank)
        *blank = text.trimmed().isEmpty();
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const QString digits = plainDigits(text, decimalComma);
    return digits.isEmpty() ? std::nullopt : Currency::parse(digits);
}

bool guessDecimalComma(const QList<QStringList>& rows, const ExpenseColumns& columns)
{
    int comma = 0, point = 0;
    for (const QStringList& cells : rows)
        for (size_t c = 0; c < columns.size(); ++c) {
            const ExpenseField f = columns[c];
            if (f != ExpenseField::Estimated && f != ExpenseField::Actual && f != ExpenseField::Deposit &&
                f != ExpenseField::Paid)
                continue;
            const QString cell = cells.value(qsizetype(c));
            const bool asComma = readMoney(cell, true).has_value();
            const bool asPoint = readMoney(cell, false).has_value();
            if (asComma && asPoint && readMoney(cell, true) == readMoney(cell, false))
                continue;  // "1200": the same either way
            comma += asComma;
            point += asPoint;
        }
    return comma > point;
}

ExpenseReview reviewExpenses(const QStringList& headers, const QList<QStringList>& rows,
                             const QList<int>& rowNumbers, const ExpenseColumns& columns, bool decimalComma,
                             const BudgetPlan& plan)
{
    ExpenseReview review;
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == ExpenseField::None)
            review.notImported << headers.value(qsizetype(c));
    const RowReader reader{headers, columns, decimalComma};
    std::vector<std::pair<qint64, QString>> categories;
    for (const Category& category : plan.categories)
        categories.emplace_back(category.id, category.name);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        const int number = rowNumbers.value(r, int(r) + 1);
        const QString item = reader.text(cells, ExpenseField::Item);
        const QString category = reader.text(cells, ExpenseField::Category);
        if (isBlank(cells)) {
            review.leftOut.push_back({number, QStringLiteral("empty")});
            continue;
        }
        if (isTotalText(item.isEmpty() ? category : item)) {
            review.leftOut.push_back({number, QStringLiteral("a total")});
            continue;
        }
        std::variant<ExpenseRow, QString> read = readRow(reader, cells, plan);
        if (const QString* problem = std::get_if<QString>(&read)) {
            review.problems.push_back({number, *problem});
            continue;
        }
        ExpenseRow row = std::get<ExpenseRow>(std::move(read));
        if (row.expense.description.isEmpty()) {
            review.leftOut.push_back({number, QStringLiteral("no item or category")});
            continue;
        }
        row.rowNumber = number;
        if (!row.categoryName.isEmpty()) {
            row.expense.category = findByName(categories, row.categoryName);
            if (!row.expense.category &&
                !review.newCategories.contains(row.categoryName, Qt::CaseInsensitive))
                review.newCategories << row.categoryName;
        }
        review.rows.push_back(std::move(row));
    }
    return review;
}

QString reviewText(const ExpenseReview& review)
{
    QString out = QStringLiteral("Expenses (%1):\n").arg(review.rows.size());
    for (const ExpenseRow& row : review.rows)
        out +=
            QStringLiteral("  row %1  %2  %3 x %4%5\n")
                .arg(row.rowNumber)
                .arg(row.expense.description, plainAmount(row.expense.unitCost))
                .arg(row.expense.quantity)
                .arg(row.categoryName.isEmpty() ? QString() : QStringLiteral("  [%1]").arg(row.categoryName));
    if (!review.newCategories.isEmpty())
        out += QStringLiteral("New categories: %1\n").arg(review.newCategories.join(QStringLiteral(", ")));
    const auto rows = [&out](const QString& title, const std::vector<LeftOutRow>& list) {
        if (list.empty())
            return;
        out += QStringLiteral("%1 (%2):\n").arg(title).arg(list.size());
        for (const LeftOutRow& row : list)
            out += QStringLiteral("  row %1: %2\n").arg(row.rowNumber).arg(row.reason);
    };
    rows(QStringLiteral("Left out"), review.leftOut);
    rows(QStringLiteral("Cannot be read, left out"), review.problems);
    return out;
}

QString ExpenseImportResult::summary() const
{
    QString text = QStringLiteral("%1 expenses added").arg(added);
    if (categoriesAdded > 0)
        text += QStringLiteral(" (%1 new categories)").arg(categoriesAdded);
    return text + QLatin1Char('.');
}

ExpenseImportResult runExpenseImport(store::Database& db, const ExpenseReview& review)
{
    ExpenseImportResult result;
    if (review.rows.empty())
        return result;
    result.backupPath = store::backup::make(db.path(), store::backup::Reason::Import);
    store::Transaction change;
    std::vector<std::pair<qint64, QString>> added;
    for (const QString& name : review.newCategories)
        added.emplace_back(addCategory(db, name, Currency()), name);
    for (const ExpenseRow& row : review.rows) {
        NewExpense expense = row.expense;
        if (!expense.category && !row.categoryName.isEmpty())
            expense.category = findByName(added, row.categoryName);
        addExpense(db, expense);
    }
    change.commit();
    result.added = int(review.rows.size());
    result.categoriesAdded = int(added.size());
    store::undo::remember(
        db, result.backupPath,
        QStringLiteral("Import %1 %2").arg(result.added).arg(result.added == 1 ? "expense" : "expenses"));
    return result;
}

}  // namespace budget
