// Importing a budget spreadsheet saved as CSV: the columns are recognised by their common
// headers, money is read in its common texts ("$1,200.00", "1200", "1.200,00"), and each row
// becomes an expense with its plan. The review says which rows are imported, which are left
// out (empty rows, total rows) and which cannot be read; the import writes what the review
// holds in one transaction, after a backup of the wedding file.
//
//   ExpenseColumns columns = guessExpenseColumns(headers);
//   ExpenseReview review = reviewExpenses(headers, rows, rowNumbers, columns, decimalComma);
//   ExpenseImportResult result = runExpenseImport(db, review);
//
// The row's Amount is its actual cost when it has one, else its estimate; Qty is 1 unless
// given; Total and Owing follow the expense table's rules. A due date with something still
// owing becomes an unpaid payment of what is owing, due that day.
#pragma once

#include "budget/BudgetStore.h"

#include <QList>
#include <QStringList>

namespace budget {

enum class ExpenseField {
    None,
    Category,
    Item,
    Vendor,
    Estimated,
    Actual,
    Quantity,
    Deposit,
    Paid,
    DueDate,
    Notes
};

// The words the review shows for a field; the field a key of the command line names
// ("category", "item", ...).
QString fieldCaption(ExpenseField field);
std::optional<ExpenseField> fieldOfKey(const QString& key);

// One field per column.
using ExpenseColumns = std::vector<ExpenseField>;

// The field of each header by its common names ("Budget", "Estimated cost", "Amount paid",
// "Supplier", ...); a field is given to its first column only.
ExpenseColumns guessExpenseColumns(const QStringList& headers);

// Whether a first record is a header row: it names at least two fields and holds no amount.
bool looksLikeExpenseHeader(const QStringList& record);

// The records of a file as a table: the first record becomes the headers when `header` says so,
// or, unset, when it looks like a header row; otherwise the columns are named "Column 1", ...
struct ExpenseTable {
    QStringList headers;
    QList<QStringList> rows;
    QList<int> rowNumbers;  // each row's record number in the file
    bool headerRow = false;
};
ExpenseTable expenseTable(QList<QStringList> records, QList<int> recordNumbers, std::optional<bool> header);

// Reads a money text: a currency sign or code, grouping and parentheses or a minus for
// negative amounts are allowed. decimalComma: "1.200,00" (else "1,200.00"). An empty text
// reads as nullopt with *blank set; a text that is no amount as nullopt.
std::optional<store::Currency> readMoney(const QString& text, bool decimalComma, bool* blank = nullptr);

// Whether the amounts of these cells are written with a decimal comma ("1.200,00", "45,50"):
// true when more of them read that way than with a decimal point.
bool guessDecimalComma(const QList<QStringList>& rows, const ExpenseColumns& columns);

struct ExpenseRow {
    int rowNumber = 0;  // record number in the file
    NewExpense expense;
    QString categoryName;  // as written; created by the import when not yet a category
    QString vendorName;    // as written; an unknown vendor is kept in the notes
};

struct LeftOutRow {
    int rowNumber = 0;
    QString reason;  // "empty", "a total", or what cannot be read
};

struct ExpenseReview {
    std::vector<ExpenseRow> rows;
    std::vector<LeftOutRow> leftOut;   // empty and total rows
    std::vector<LeftOutRow> problems;  // rows that cannot be read
    QStringList notImported;           // headers of the columns left out
    QStringList newCategories;         // categories the import will add
};

// Sorts the rows. categories and vendors: those already in the file (names are matched
// without regard to case).
ExpenseReview reviewExpenses(const QStringList& headers, const QList<QStringList>& rows,
                             const QList<int>& rowNumbers, const ExpenseColumns& columns, bool decimalComma,
                             const BudgetPlan& plan);

// The review in words, one line each: the expenses to import ("row 2  Hall  4800.00 x 1  [Venue]"),
// the new categories, the rows left out and those that cannot be read, with their record numbers.
QString reviewText(const ExpenseReview& review);

struct ExpenseImportResult {
    int added = 0;
    int categoriesAdded = 0;
    QString backupPath;
    QString summary() const;  // "12 expenses added (2 new categories)."
};

// Backs the file up, then adds the categories and expenses in one transaction. Nothing is
// changed when it fails (store::StoreError).
ExpenseImportResult runExpenseImport(store::Database& db, const ExpenseReview& review);

}  // namespace budget
