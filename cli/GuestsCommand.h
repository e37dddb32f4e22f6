// orvane-cli guests: the parties a search and filters find, one line each, and last their
// number ("N parties"); set: a change of all of them; undo: the last such change taken back.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

QString guestsHelp();

// Throws UsageError (cli/UsageError.h) for a wrong command line and store::StoreError when
// the file cannot be read. Returns the exit status.
int guestsCommand(const QStringList& args, QTextStream& out);

// orvane-cli set: changes every party found (one transaction after a backup) and prints how many.
QString setHelp();
int setCommand(const QStringList& args, QTextStream& out);

// orvane-cli undo: takes back the last large change, or says why it cannot (store::StoreError).
QString undoHelp();
int undoCommand(const QStringList& args, QTextStream& out);

}  // namespace cli
