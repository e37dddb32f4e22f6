// orvane-cli guests: the parties a search and filters find, one line each, and last their
// number ("N parties").
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

QString guestsHelp();

// Throws UsageError (cli/UsageError.h) for a wrong command line and store::StoreError when
// the file cannot be read. Returns the exit status.
int guestsCommand(const QStringList& args, QTextStream& out);

}  // namespace cli
