// orvane-cli budget: the budget's figures per category (planned, estimated, actual, paid,
// owing) and their total, written as a CSV file. The wedding file is only read.
// orvane-cli import-expenses: a budget spreadsheet into the expense list and its plan.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

extern const char* const BudgetHelp;
extern const char* const ImportExpensesHelp;

// Throws UsageError (cli/UsageError.h) for a wrong command line and store::StoreError when
// the file cannot be read or the output cannot be written. Returns the exit status.
int budgetCommand(const QStringList& args, QTextStream& out);

// orvane-cli import-expenses: reads a budget spreadsheet saved as CSV, prints the review and
// imports it in one transaction after a backup (not with --dry-run).
int importExpensesCommand(const QStringList& args, QTextStream& out);

}  // namespace cli
