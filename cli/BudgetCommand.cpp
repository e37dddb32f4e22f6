#include "cli/BudgetCommand.h"

#include "budget/BudgetStore.h"
#include "cli/UsageError.h"
#include "exchange/CsvFile.h"
#include "exchange/Export.h"
#include "store/OutputFile.h"
#include "store/Store.h"

namespace cli {

const char* const BudgetHelp =
    "Usage: orvane-cli budget WEDDING.mdb OUT.csv\n"
    "Writes the budget's figures as CSV (UTF-8 with BOM): one row per category with the columns\n"
    "Category, Planned, Estimated, Actual, Paid and Owing, and last the row Total. Amounts are\n"
    "plain numbers with two decimals. Expenses without a category are gathered in one row. The\n"
    "wedding file is only read; OUT may not be the wedding file, its journal or one of its backups.\n";

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

}  // namespace

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
