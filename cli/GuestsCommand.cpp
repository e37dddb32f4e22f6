#include "cli/GuestsCommand.h"

#include "cli/Options.h"
#include "cli/UsageError.h"
#include "guests/BulkChange.h"
#include "guests/PartyFinder.h"
#include "store/Layout.h"
#include "store/Store.h"
#include "store/Undo.h"

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

namespace {

// The parties a command line's --search and --filter options find; the other options are
// handed to other(option, i), which takes what it knows (moving i over its value) or returns false.
struct Found {
    QString path;
    guests::PartyList list;
    std::vector<int> rows;
};

template <class Other>
Found findFromArgs(const QStringList& args, const char* command, store::OpenMode mode, Other other)
{
    QString path, search;
    QStringList filterTexts;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--search"))
            search = takeValue(args, i);
        else if (a == QLatin1String("--filter"))
            filterTexts << takeValue(args, i);
        else if (other(a, args, i))
            continue;
        else if (a.startsWith(QLatin1String("--")) || !path.isEmpty())
            throw UsageError{QStringLiteral("\"%1\" is not an option of %2.").arg(a, QLatin1String(command))};
        else
            path = a;
    }
    if (path.isEmpty())
        throw UsageError{QStringLiteral("%1 needs WEDDING.mdb.").arg(QLatin1String(command))};
    QString bad;
    const auto filters = guests::parseFilters(filterTexts, &bad);
    if (!filters)
        throw UsageError{
            QStringLiteral("Unknown filter \"%1\". Filters: %2").arg(bad, guests::filterNames())};
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path, mode);
    if (mode == store::OpenMode::ReadWrite)
        store::upgradeLayout(db);
    Found found{path, guests::loadParties(db), {}};
    found.rows = guests::findParties(found.list, search, *filters);
    return found;
}

QString partiesText(qsizetype n)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? "party" : "parties");
}

// --invite EVENT, --uninvite EVENT, --side SIDE, --reply REPLY, --thank-you-sent OCCASION.
std::optional<guests::BulkChange> changeOption(const QString& option, const QString& value)
{
    using K = guests::BulkChange::Kind;
    guests::BulkChange c;
    const auto wrong = [&](const char* what) {
        return UsageError{QStringLiteral("%1 takes %2, not \"%3\".").arg(option, QLatin1String(what), value)};
    };
    if (option == QLatin1String("--invite") || option == QLatin1String("--uninvite")) {
        const auto event = guests::parseEvent(value);
        if (!event)
            throw wrong("ceremony, reception, shower or rehearsal");
        c.kind = option == QLatin1String("--invite") ? K::Invite : K::Uninvite;
        c.event = *event;
    } else if (option == QLatin1String("--side")) {
        c.kind = K::Side;
        for (const char* side : {"Bride", "Groom", "Both"})
            if (value.compare(QLatin1String(side), Qt::CaseInsensitive) == 0)
                c.side = QString::fromLatin1(side);
        if (c.side.isEmpty())
            throw wrong("Bride, Groom or Both");
    } else if (option == QLatin1String("--reply")) {
        const auto reply = guests::parseReplyWords(value);
        if (!reply)
            throw wrong("attending, declined or no-reply");
        c.kind = K::Reply;
        c.reply = *reply;
    } else if (option == QLatin1String("--thank-you-sent")) {
        const auto occasion = guests::parseOccasion(value);
        if (!occasion)
            throw wrong("engagement, shower or wedding");
        c.kind = K::ThankYouSent;
        c.occasion = *occasion;
    } else {
        return std::nullopt;
    }
    return c;
}

}  // namespace

int guestsCommand(const QStringList& args, QTextStream& out)
{
    const Found found = findFromArgs(args, "guests", store::OpenMode::ReadOnly,
                                     [](const QString&, const QStringList&, qsizetype&) { return false; });
    for (int i : found.rows) {
        const guests::PartyRow& r = found.list.rows[size_t(i)];
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
    out << partiesText(found.rows.size()) << "\n";
    return 0;
}

QString setHelp()
{
    return QStringLiteral(
               "Usage: orvane-cli set WEDDING.mdb [--search TEXT] [--filter F]... CHANGE\n"
               "Changes every party that the search and filters find (as `orvane-cli guests` lists them),\n"
               "in one transaction after a backup of WEDDING.mdb, and prints how many it changed;\n"
               "`orvane-cli undo` takes the change back. CHANGE is one of:\n"
               "  --invite EVENT             invite them to the ceremony, reception, shower or rehearsal\n"
               "  --uninvite EVENT           take them off that event (off the reception: their seats too)\n"
               "  --side SIDE                Bride, Groom or Both\n"
               "  --reply REPLY              the reception reply: attending, declined or no-reply\n"
               "  --thank-you-sent OCCASION  the thank-you cards of the engagement, shower or wedding gift\n"
               "Filters: %1\n")
        .arg(guests::filterNames());
}

int setCommand(const QStringList& args, QTextStream& out)
{
    std::optional<guests::BulkChange> change;
    const auto takeChange = [&change](const QString& a, const QStringList& all, qsizetype& i) {
        if (!a.startsWith(QLatin1String("--")) || i + 1 >= all.size())
            return false;
        const auto c = changeOption(a, all[i + 1]);
        if (!c)
            return false;
        if (change)
            throw UsageError{QStringLiteral("set makes one change at a time.")};
        change = c;
        ++i;
        return true;
    };
    // A change option without its value is a usage error, not an unknown option.
    for (const char* o : {"--invite", "--uninvite", "--side", "--reply", "--thank-you-sent"})
        if (!args.isEmpty() && args.back() == QLatin1String(o))
            throw UsageError{QStringLiteral("%1 needs a value.").arg(QLatin1String(o))};
    Found found = findFromArgs(args, "set", store::OpenMode::ReadWrite, takeChange);
    if (!change)
        throw UsageError{
            QStringLiteral("set needs a change: --invite, --uninvite, --side, --reply or --thank-you-sent.")};
    std::vector<qint64> keys;
    keys.reserve(found.rows.size());
    for (int i : found.rows)
        keys.push_back(found.list.rows[size_t(i)].key);
    store::Database& db = *store::Workspace::defaultWorkspace().database();
    const guests::BulkOutcome done = guests::applyChange(db, keys, *change);
    out << QStringLiteral("%1 found.\n").arg(partiesText(qsizetype(keys.size())));
    out << done.summary() << "\n";
    if (!done.backupPath.isEmpty())
        out << QStringLiteral("A copy of the wedding file from before the change: %1\n").arg(done.backupPath);
    return 0;
}

QString undoHelp()
{
    return QStringLiteral(
        "Usage: orvane-cli undo WEDDING.mdb\n"
        "Takes back the last change of many parties (orvane-cli set, or the program's own), an\n"
        "import, a seating plan applied or a table cleared, leaving the file exactly as it was\n"
        "before it. When anything has changed since, it says so and changes nothing (exit status 1).\n");
}

int undoCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        throw UsageError{QStringLiteral("undo needs WEDDING.mdb.")};
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(args[0]);
    store::upgradeLayout(db);
    out << QStringLiteral("Undone: %1.\n").arg(store::undo::undoLast(db));
    return 0;
}

}  // namespace cli
