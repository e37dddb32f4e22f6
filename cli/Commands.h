// The commands of orvane-cli over a wedding file:
//   seat WEDDING.mdb [--apply] [--reseat] [--time-limit SECONDS]
// Exit status: 0 done, 1 the work failed (a file that cannot be read or written),
// 2 the command line is wrong.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace cli
