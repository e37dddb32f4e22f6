// The commands over the members of the parties:
//   export WEDDING.mdb members OUT.csv|OUT.xlsx   one row per member (through exportCommand)
//   import-replies WEDDING.mdb FILE.csv [--dry-run]
//   catering WEDDING.mdb OUT.csv
//   place-cards WEDDING.mdb OUT.pdf [--stock tent|flat] [--escort]
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

extern const char* const ImportRepliesHelp;
extern const char* const CateringHelp;
extern const char* const PlaceCardsHelp;

// Throw UsageError (cli/UsageError.h) for a wrong command line, exchange::ExchangeError and
// store::StoreError when a file cannot be read or written. Return the exit status.
int exportMembers(const QString& wedding, const QString& path, QTextStream& out);
int importRepliesCommand(const QStringList& args, QTextStream& out);
int cateringCommand(const QStringList& args, QTextStream& out);
// Also throws reports::ReportError when the PDF file cannot be written.
int placeCardsCommand(const QStringList& args, QTextStream& out);

}  // namespace cli
