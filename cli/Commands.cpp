#include "cli/Commands.h"

#include "cli/SeatCommand.h"
#include "cli/UsageError.h"
#include "store/Store.h"

namespace cli {

namespace {

enum Status { Done = 0, Failed = 1, Usage = 2 };

const char* const GeneralHelp =
    "usage: orvane-cli COMMAND WEDDING.mdb [options]\n"
    "commands:\n"
    "  seat    propose (and with --apply, write) a seating plan under the seating rules\n"
    "orvane-cli COMMAND --help shows a command's options.\n";

bool wantsHelp(const QStringList& args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

}  // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString command = arguments.value(0);
    const QStringList args = arguments.mid(1);
    struct Command {
        const char* name;
        QString help;
        int (*run)(const QStringList&, QTextStream&);
    };
    const Command commands[] = {
        {"seat", QString::fromLatin1(SeatHelp), seatCommand},
    };
    if (command.isEmpty() || command == QLatin1String("--help") || command == QLatin1String("-h")) {
        (command.isEmpty() ? err : out) << GeneralHelp;
        return command.isEmpty() ? Usage : Done;
    }
    for (const Command& c : commands) {
        if (command != QLatin1String(c.name))
            continue;
        if (wantsHelp(args)) {
            out << c.help;
            return Done;
        }
        try {
            const int status = c.run(args, out);
            store::Workspace::defaultWorkspace().close();
            return status;
        } catch (const UsageError& e) {
            err << "orvane-cli " << command << ": " << e.message << "\n" << c.help;
            return Usage;
        } catch (const store::StoreError& e) {
            err << "orvane-cli " << command << ": " << e.description() << " (error " << e.number() << ")\n";
        }
        store::Workspace::defaultWorkspace().close();
        return Failed;
    }
    err << "orvane-cli: unknown command \"" << command << "\".\n" << GeneralHelp;
    return Usage;
}

}  // namespace cli
