#include "cli/GuestsCommand.h"

#include "cli/UsageError.h"
#include "guests/PartyFinder.h"
#include "store/Store.h"

namespace cli {

QString guestsHelp()
{
    return QStringLiteral(
               "Usage: orvane-cli guests WEDDING.mdb [--search TEXT] [--filter F]...\n"
               "Prints the parties that the search finds (any part of a name, the envelope lines, the\n"
               "address, city or phone; blind to case and accents) and that pass every filter, one line\n"
               "each with tab-separated columns: name, side, city, events invited to, reception reply,\n"
               "people invited, table, gifts, thank-you cards sent; and last \"N parties\".\n"
               "Filters: %1\n"
               "The wedding file is only read.\n")
        .arg(guests::filterNames());
}

namespace {

QString eventsOf(const guests::PartyRow& row)
{
    QStringList events;
    for (guests::Event e :
         {guests::Event::Ceremony, guests::Event::Reception, guests::Event::Shower, guests::Event::Rehearsal})
        if (row.isInvited(e))
            events << guests::eventName(e);
    return events.join(QLatin1Char(','));
}

}  // namespace

int guestsCommand(const QStringList& args, QTextStream& out)
{
    QString path, search;
    QStringList filterTexts;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--search") || a == QLatin1String("--filter")) {
            if (i + 1 >= args.size())
                throw UsageError{QStringLiteral("%1 needs a value.").arg(a)};
            (a == QLatin1String("--search") ? search : filterTexts.emplaceBack()) = args[++i];
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            throw UsageError{QStringLiteral("\"%1\" is not an option of guests.").arg(a)};
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        throw UsageError{QStringLiteral("guests needs WEDDING.mdb.")};
    QString bad;
    const auto filters = guests::parseFilters(filterTexts, &bad);
    if (!filters)
        throw UsageError{
            QStringLiteral("Unknown filter \"%1\". Filters: %2").arg(bad, guests::filterNames())};
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path, store::OpenMode::ReadOnly);
    const guests::PartyList list = guests::loadParties(db);
    const std::vector<int> found = guests::findParties(list, search, *filters);
    for (int i : found) {
        const guests::PartyRow& r = list.rows[size_t(i)];
        out << QStringList{r.name,
                           r.side,
                           r.city,
                           eventsOf(r),
                           r.reply(),
                           QString::number(r.people),
                           r.table,
                           QString::number(r.gifts),
                           QString::number(r.gifts - r.cardsToSend)}
                   .join(QLatin1Char('\t'))
            << "\n";
    }
    out << QStringLiteral("%1 %2\n").arg(found.size()).arg(found.size() == 1 ? "party" : "parties");
    return 0;
}

}  // namespace cli
