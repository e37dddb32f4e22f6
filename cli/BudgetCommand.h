// orvane-cli budget: the budget's figures per category (planned, estimated, actual, paid,
// owing) and their total, written as a CSV file. The wedding file is only read.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

extern const char* const BudgetHelp;

// Throws UsageError (cli/UsageError.h) for a wrong command line and store::StoreError when
// the file cannot be read or the output cannot be written. Returns the exit status.
int budgetCommand(const QStringList& args, QTextStream& out);

}  // namespace cli
