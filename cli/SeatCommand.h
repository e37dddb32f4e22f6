// orvane-cli seat: proposes a seating plan for the guests not yet seated (or for everyone
// with --reseat), prints it with the rules kept and broken and the objective, and with
// --apply writes it to the file in one transaction.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

extern const char* const SeatHelp;

// Throws UsageError (cli/UsageError.h) for a wrong command line and store::StoreError when
// the file cannot be read or written. Returns the exit status.
int seatCommand(const QStringList& args, QTextStream& out);

}  // namespace cli
