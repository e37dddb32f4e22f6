#include "cli/BudgetCommand.h"

#include "budget/BudgetStore.h"
#include "budget/ExpenseImport.h"
#include "cli/Options.h"
#include "cli/UsageError.h"
#include "exchange/CsvFile.h"
#include "exchange/Export.h"
#include "store/Layout.h"
#include "store/OutputFile.h"
#include "store/Store.h"

namespace cli {

const char* const BudgetHelp =
    "Usage: orvane-cli budget WEDDING.mdb OUT.csv\n"
    "Writes the budget's figures as CSV (UTF-8 with BOM): one row per category with the columns\n"
    "Category, Planned, Estimated, Actual, Paid and Owing, and last the row Total. Amounts are\n"
    "plain numbers with two decimals. Expenses without a category are gathered in one row. The\n"
    "wedding file is only read; OUT may not be the wedding file, its journal or one of its backups.\n";

const char* const ImportExpensesHelp =
    "Usage: orvane-cli import-expenses WEDDING.mdb FILE.csv [options]\n"
    "Reads a budget spreadsheet saved as CSV, prints the review (the columns recognised, the rows\n"
    "to import, the rows left out and why) and imports it in one transaction after a backup copy\n"
    "of WEDDING.mdb. Columns are recognised by common headers: category, item (description),\n"
    "vendor, estimated (budget), actual (cost), qty, deposit, paid, due (date) and notes. An\n"
    "expense's unit cost is its actual cost when given, else its estimate; an unknown category is\n"
    "added; a due date with something still owing becomes a payment due that day. Empty rows and\n"
    "total rows are left out and said so.\n\n"
    "Options:\n"
    "  --dry-run                  print the review only; the wedding file is not changed\n"
    "  --decimal comma|point      amounts written as 1.200,00 or as 1,200.00 (guessed from the file)\n"
    "  --map FIELD=COLUMN         read FIELD from COLUMN (a header or a column number from 1);\n"
    "                             none=COLUMN leaves a column out. Fields: category, item, vendor,\n"
    "                             estimated, actual, qty, deposit, paid, due, notes\n"
    "  --separator comma|semicolon|tab, --header yes|no\n"
    "                             override the guesses made from the file\n";

namespace {

QByteArray figuresFile(const std::vector<budget::CategoryFigures>& rows)
{
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += exchange::csvLine(budget::figureColumns());
    auto add = [&bytes](const budget::CategoryFigures& row) {
        QStringList cells = budget::figureCells(row);
        cells[0] = exchange::textCell(cells[0]);
        bytes += exchange::csvLine(cells);
    };
    for (const budget::CategoryFigures& row : rows)
        add(row);
    add(budget::totalOf(rows));
    return bytes;
}

struct ImportOptions {
    QString wedding, file;
    bool dryRun = false;
    std::optional<bool> decimalComma;
    std::optional<char> separator;
    std::optional<bool> header;
    QList<QPair<QString, QString>> maps;
};

// An option's value, in lower case.
QString valueOf(const QStringList& args, qsizetype& i)
{
    return takeValue(args, i).toLower();
}

ImportOptions importOptions(const QStringList& args)
{
    ImportOptions o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--dry-run")) {
            o.dryRun = true;
        } else if (a == QLatin1String("--decimal")) {
            const QString v = valueOf(args, i);
            if (v != QLatin1String("comma") && v != QLatin1String("point"))
                throw UsageError{QStringLiteral("--decimal takes comma or point, not \"%1\".").arg(v)};
            o.decimalComma = v == QLatin1String("comma");
        } else if (a == QLatin1String("--separator")) {
            const QString v = valueOf(args, i);
            if (v == QLatin1String("comma"))
                o.separator = ',';
            else if (v == QLatin1String("semicolon"))
                o.separator = ';';
            else if (v == QLatin1String("tab"))
                o.separator = '\t';
            else
                throw UsageError{
                    QStringLiteral("--separator takes comma, semicolon or tab, not \"%1\".").arg(v)};
        } else if (a == QLatin1String("--header")) {
            o.header = headerValue(takeValue(args, i));
        } else if (a == QLatin1String("--map")) {
            o.maps.append(mapValue(takeValue(args, i)));
        } else {
            takeFiles(a, o.wedding, o.file);
        }
    }
    if (o.wedding.isEmpty() || o.file.isEmpty())
        throw UsageError{QStringLiteral("import-expenses needs WEDDING.mdb and FILE.csv.")};
    return o;
}

void applyMaps(budget::ExpenseColumns& columns, const ImportOptions& o, const QStringList& headers)
{
    for (const auto& [fieldName, columnName] : o.maps) {
        const std::optional<budget::ExpenseField> field = budget::fieldOfKey(fieldName);
        if (!field)
            throw UsageError{QStringLiteral("Unknown field \"%1\".").arg(fieldName)};
        bool isNumber = false;
        const int number = columnName.toInt(&isNumber);
        const qsizetype column = isNumber ? number - 1 : headers.indexOf(columnName);
        if (column < 0 || column >= qsizetype(columns.size()))
            throw UsageError{QStringLiteral("There is no column \"%1\".").arg(columnName)};
        for (budget::ExpenseField& other : columns)
            if (other == *field && *field != budget::ExpenseField::None)
                other = budget::ExpenseField::None;
        columns[size_t(column)] = *field;
    }
}

void printReview(QTextStream& out, const QStringList& headers, const budget::ExpenseColumns& columns,
                 const budget::ExpenseReview& review)
{
    out << "Columns:\n";
    for (size_t c = 0; c < columns.size(); ++c)
        out << "  " << headers.value(qsizetype(c)) << " -> " << budget::fieldCaption(columns[c]) << "\n";
    out << budget::reviewText(review);
}

// The file's records, with the header row taken off when there is one.
budget::ExpenseTable readTable(const ImportOptions& o)
{
    exchange::CsvOptions csv;
    csv.separator = o.separator;
    csv.headerRow = false;
    const exchange::CsvTable records = exchange::readCsvFile(o.file, csv);
    return budget::expenseTable(records.rows.allAsRead(), records.rowNumbers, o.header);
}

}  // namespace

int importExpensesCommand(const QStringList& args, QTextStream& out)
{
    const ImportOptions o = importOptions(args);
    const budget::ExpenseTable table = readTable(o);
    budget::ExpenseColumns columns = budget::guessExpenseColumns(table.headers);
    applyMaps(columns, o, table.headers);
    const bool decimalComma = o.decimalComma.value_or(budget::guessDecimalComma(table.rows, columns));
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(
        o.wedding, o.dryRun ? store::OpenMode::ReadOnly : store::OpenMode::ReadWrite);
    if (!o.dryRun)
        store::upgradeLayout(db);
    const budget::ExpenseReview review = budget::reviewExpenses(table.headers, table.rows, table.rowNumbers,
                                                                columns, decimalComma, budget::loadPlan(db));
    out << (decimalComma ? "Amounts read as 1.200,00 (decimal comma).\n"
                         : "Amounts read as 1,200.00 (decimal point).\n");
    printReview(out, table.headers, columns, review);
    if (o.dryRun) {
        out << QStringLiteral("Dry run, nothing written. The import would add %1 expenses.\n")
                   .arg(review.rows.size());
        return 0;
    }
    out << budget::runExpenseImport(db, review).summary() << "\n";
    return 0;
}

int budgetCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 2)
        throw UsageError{QStringLiteral("budget needs WEDDING.mdb and OUT.csv.")};
    store::Database& db =
        store::Workspace::defaultWorkspace().openDatabase(args[0], store::OpenMode::ReadOnly);
    const std::vector<budget::CategoryFigures> rows = budget::categoryFigures(budget::loadPlan(db));
    store::output::writeFile(args[1], figuresFile(rows), db.path());
    out << QStringLiteral("%1 categories written to %2.\n").arg(rows.size()).arg(args[1]);
    return 0;
}

}  // namespace cli
