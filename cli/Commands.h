// The commands of orvane-cli over a wedding file:
//   import-guests WEDDING.mdb FILE.csv [--dry-run] [--map FIELD=COLUMN ...]
//                 [--on-duplicate skip|add|fill] [--on-problem skip|fix]
//   export WEDDING.mdb guests|members|vendors|expenses|checklist OUT.csv|OUT.xlsx
//   import-replies WEDDING.mdb FILE.csv [--dry-run]
//   catering WEDDING.mdb OUT.csv
//   place-cards WEDDING.mdb OUT.pdf [--stock tent|flat] [--escort]
//   calendar WEDDING.mdb OUT.ics
//   seat WEDDING.mdb [--apply] [--reseat] [--time-limit SECONDS]
//   guests WEDDING.mdb [--search TEXT] [--filter F]...
//   set WEDDING.mdb [--search TEXT] [--filter F]... --invite EVENT | --uninvite EVENT | --side SIDE
//       | --reply REPLY | --thank-you-sent OCCASION
//   undo WEDDING.mdb
//   backups WEDDING.mdb
//   restore WEDDING.mdb BACKUP
// Exit status: 0 done, 1 the work failed (a file that cannot be read or written),
// 2 the command line is wrong.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace cli
