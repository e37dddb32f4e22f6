#include "cli/Commands.h"

#include "exchange/Calendar.h"
#include "exchange/Export.h"
#include "exchange/GuestImport.h"
#include "exchange/MappingMemory.h"
#include "guests/MemberImport.h"

#include "cli/BudgetCommand.h"
#include "cli/GuestsCommand.h"
#include "cli/MembersCommand.h"
#include "cli/Options.h"
#include "cli/SeatCommand.h"
#include "cli/UsageError.h"

#include "store/Backup.h"
#include "store/Layout.h"
#include "store/Store.h"
#include "store/WordedError.h"

#include <QFileInfo>

#include <algorithm>

namespace cli {

namespace {

enum Status { Done = 0, Failed = 1, Usage = 2 };

const char* const GeneralHelp =
    "Usage: orvane-cli COMMAND WEDDING.mdb ...\n"
    "Works on an Orvane wedding file with the same code as the program.\n\n"
    "Commands:\n"
    "  import-guests  import a guest list saved as CSV or text\n"
    "  export         write the guests, members, vendors, expenses or checklist as CSV or XLSX\n"
    "  calendar       write the shower, ceremony, reception and open tasks as an iCalendar file\n"
    "  seat           propose (and with --apply, write) a seating plan under the seating rules\n"
    "  guests         list the parties a search and filters find (no reply yet, not seated, ...)\n"
    "  set            change every party a search and filters find (invite, side, reply, ...)\n"
    "  undo           take back the last change of many parties, import or seating plan\n"
    "  backups        list the backups of the wedding file, newest first\n"
    "  restore        go back to one of the backups (the file as it is now is kept as a backup)\n"
    "  budget         write the budget's figures per category as CSV\n"
    "  import-expenses  import a budget spreadsheet saved as CSV into the expenses and their plan\n"
    "  import-replies apply replies, meals and needs of members from a CSV file\n"
    "  catering       write the people expected per table by age group and meal as CSV\n"
    "  place-cards    write place cards or escort cards of the seated guests as PDF\n\n"
    "orvane-cli COMMAND --help describes each command.\n";

const char* const ImportHelp =
    "Usage: orvane-cli import-guests WEDDING.mdb FILE.csv [options]\n"
    "Reads the guest list, prints the review (new parties, likely duplicates, problems) and\n"
    "imports it in one transaction after a backup copy of WEDDING.mdb.\n\n"
    "Options:\n"
    "  --dry-run                  print the review only; the wedding file is not changed\n"
    "  --group-by COLUMN          the file lists people, one a row: COLUMN (a header or a column\n"
    "                             number from 1) groups them into parties. Without it a column\n"
    "                             \"Household\", \"Party\", \"Family\", \"Group\" or \"Invitation\"\n"
    "                             beside the names does. Each party takes its address, side and\n"
    "                             invitations from its first row; its people become its members\n"
    "                             (name, age group, plus-one, meal, dietary needs, e-mail,\n"
    "                             mobile); a row with an empty COLUMN is a party of its own; meals\n"
    "                             the menu lacks are added to it\n"
    "  --map FIELD=COLUMN         read FIELD from COLUMN (a header or a column number from 1);\n"
    "                             none=COLUMN leaves a column out. Fields: %1\n"
    "  --on-duplicate skip|add|fill\n"
    "                             likely duplicates are skipped (default), added anyway, or fill\n"
    "                             the empty fields of the party they match\n"
    "  --on-problem skip|fix      rows with a problem are skipped (default), or imported with\n"
    "                             over-long texts shortened and unreadable values left out\n"
    "  --invite EVENTS            invite every party to these events (a comma list of ceremony,\n"
    "                             reception, shower, rehearsal) unless a column of the file says\n"
    "  --side Bride|Groom|Both    every party's side, unless a column of the file says\n"
    "  --encoding utf-8|utf-16|windows-1252, --separator comma|semicolon|tab,\n"
    "  --header yes|no            override the guesses made from the file\n";

const char* const ExportHelp =
    "Usage: orvane-cli export WEDDING.mdb guests|members|vendors|expenses|checklist OUT.csv|OUT.xlsx\n"
    "Writes one list as CSV (UTF-8 with BOM) or as an XLSX workbook, chosen by the extension.\n"
    "members: one row per member of a party (party, name, age group, plus-one of, meal, dietary\n"
    "needs, e-mail, mobile, reception reply, table).\n"
    "In CSV a text that a spreadsheet would take as a formula (=, +, -, @ first) starts with an\n"
    "apostrophe; in a workbook a text longer than a cell holds is cut, and said so. The wedding\n"
    "file is only read; OUT may not be the wedding file, its journal or one of its backups.\n";

const char* const CalendarHelp =
    "Usage: orvane-cli calendar WEDDING.mdb OUT.ics\n"
    "Writes the shower, the ceremony, the reception and every scheduled task not yet done as\n"
    "iCalendar events. Importing a newer file into a calendar updates the events. An event\n"
    "whose date or time cannot be read is left out and named (exit status 1). The wedding file\n"
    "is only read; OUT may not be the wedding file, its journal or one of its backups.\n";

const char* const BackupsHelp =
    "Usage: orvane-cli backups WEDDING.mdb\n"
    "Lists the backups of the wedding file (in the backups folder beside it), newest first, as the\n"
    "program's \"Restore from Backup\" window does: number, when it was made, size, guest parties,\n"
    "tasks (\"cannot be read\" for a copy that cannot), why it was made, and the file.\n";

const char* const RestoreHelp =
    "Usage: orvane-cli restore WEDDING.mdb BACKUP\n"
    "Replaces the wedding file by a backup: BACKUP is the number `orvane-cli backups` shows (1 is\n"
    "the newest), the backup's file name in the backups folder, or a path. The backup is checked\n"
    "first (a sound wedding file of a layout this version knows); the wedding file as it is now is\n"
    "kept as a backup before it is replaced. Nothing is changed when the backup is refused.\n";

bool wantsHelp(const QStringList& args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

store::Database& openWedding(const QString& path, store::OpenMode mode = store::OpenMode::ReadWrite)
{
    return store::Workspace::defaultWorkspace().openDatabase(path, mode);
}

// What could not be written as it stood, under a title.
void printNotes(QTextStream& out, const QString& title, const QStringList& notes)
{
    if (notes.isEmpty())
        return;
    out << title << "\n";
    for (const QString& note : notes)
        out << "  " << note << "\n";
}

QString fieldKeys()
{
    QStringList keys;
    for (const exchange::GuestFieldInfo& info : exchange::guestFields())
        keys << info.key;
    return keys.join(QStringLiteral(", "));
}

// ---- import-guests -------------------------------------------------------------------

struct ImportOptions {
    QString wedding, file;
    bool dryRun = false;
    QList<QPair<QString, QString>> maps;
    QString groupBy;
    exchange::DuplicateAction onDuplicate = exchange::DuplicateAction::Skip;
    exchange::ProblemAction onProblem = exchange::ProblemAction::Skip;
    exchange::CsvOptions csv;
    std::vector<exchange::GuestField> inviteTo;
    QString side;
};

void readOption(ImportOptions& o, const QStringList& args, qsizetype& i)
{
    const QString& a = args[i];
    if (a == QLatin1String("--dry-run")) {
        o.dryRun = true;
    } else if (a == QLatin1String("--group-by")) {
        o.groupBy = takeValue(args, i);
    } else if (a == QLatin1String("--map")) {
        o.maps.append(mapValue(takeValue(args, i)));
    } else if (a == QLatin1String("--on-duplicate")) {
        const QString v = takeValue(args, i);
        using D = exchange::DuplicateAction;
        if (v == QLatin1String("skip") || v == QLatin1String("add") || v == QLatin1String("fill"))
            o.onDuplicate = v == QLatin1String("skip")  ? D::Skip
                            : v == QLatin1String("add") ? D::Add
                                                        : D::Fill;
        else
            throw UsageError{QStringLiteral("--on-duplicate takes skip, add or fill, not \"%1\".").arg(v)};
    } else if (a == QLatin1String("--on-problem")) {
        const QString v = takeValue(args, i);
        if (v != QLatin1String("skip") && v != QLatin1String("fix"))
            throw UsageError{QStringLiteral("--on-problem takes skip or fix, not \"%1\".").arg(v)};
        o.onProblem =
            v == QLatin1String("fix") ? exchange::ProblemAction::Fix : exchange::ProblemAction::Skip;
    } else if (a == QLatin1String("--encoding")) {
        const QString v = takeValue(args, i).toLower();
        using E = exchange::Encoding;
        if (v == QLatin1String("utf-8") || v == QLatin1String("utf8"))
            o.csv.encoding = E::Utf8;
        else if (v == QLatin1String("utf-16") || v == QLatin1String("utf16"))
            o.csv.encoding = E::Utf16Le;
        else if (v == QLatin1String("windows-1252") || v == QLatin1String("cp1252"))
            o.csv.encoding = E::Windows1252;
        else
            throw UsageError{
                QStringLiteral("--encoding takes utf-8, utf-16 or windows-1252, not \"%1\".").arg(v)};
    } else if (a == QLatin1String("--separator")) {
        const QString v = takeValue(args, i).toLower();
        if (v == QLatin1String("comma") || v == QLatin1String(","))
            o.csv.separator = ',';
        else if (v == QLatin1String("semicolon") || v == QLatin1String(";"))
            o.csv.separator = ';';
        else if (v == QLatin1String("tab"))
            o.csv.separator = '\t';
        else
            throw UsageError{QStringLiteral("--separator takes comma, semicolon or tab, not \"%1\".").arg(v)};
    } else if (a == QLatin1String("--invite")) {
        using F = exchange::GuestField;
        const std::pair<const char*, F> events[] = {{"ceremony", F::Ceremony},
                                                    {"reception", F::Reception},
                                                    {"shower", F::Shower},
                                                    {"rehearsal", F::Rehearsal}};
        for (const QString& word : takeValue(args, i).toLower().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto it = std::find_if(std::begin(events), std::end(events), [&](const auto& e) {
                return word.trimmed() == QLatin1String(e.first);
            });
            if (it == std::end(events))
                throw UsageError{
                    QStringLiteral("--invite takes a comma list of ceremony, reception, shower and "
                                   "rehearsal, not \"%1\".")
                        .arg(word)};
            o.inviteTo.push_back(it->second);
        }
    } else if (a == QLatin1String("--side")) {
        const QString v = takeValue(args, i);
        for (const char* side : {"Bride", "Groom", "Both"})
            if (v.compare(QLatin1String(side), Qt::CaseInsensitive) == 0)
                o.side = QString::fromLatin1(side);
        if (o.side.isEmpty())
            throw UsageError{QStringLiteral("--side takes Bride, Groom or Both, not \"%1\".").arg(v)};
    } else if (a == QLatin1String("--header")) {
        o.csv.headerRow = headerValue(takeValue(args, i));
    } else {
        takeFiles(a, o.wedding, o.file);
    }
}

void applyMaps(std::vector<exchange::GuestField>& mapping, const ImportOptions& o, const QStringList& headers)
{
    if (!o.groupBy.isEmpty()) {
        ImportOptions group;
        group.maps = {{QStringLiteral("Group"), o.groupBy}};
        applyMaps(mapping, group, headers);
        exchange::guessPeopleColumns(mapping, headers);
    }
    for (const auto& [fieldName, columnName] : o.maps) {
        const std::optional<exchange::GuestField> field = exchange::fieldByKey(fieldName);
        if (!field)
            throw UsageError{QStringLiteral("Unknown field \"%1\". Fields: %2").arg(fieldName, fieldKeys())};
        bool isNumber = false;
        const int number = columnName.toInt(&isNumber);
        qsizetype column = isNumber ? number - 1 : headers.indexOf(columnName);
        if (!isNumber && column < 0)
            for (qsizetype i = 0; i < headers.size() && column < 0; ++i)
                if (headers[i].compare(columnName, Qt::CaseInsensitive) == 0)
                    column = i;
        if (column < 0 || column >= headers.size())
            throw UsageError{QStringLiteral("The file has no column \"%1\". Its columns: %2")
                                 .arg(columnName, headers.join(QStringLiteral(", ")))};
        if (*field != exchange::GuestField::NotImported)
            for (exchange::GuestField& f : mapping)
                if (f == *field)
                    f = exchange::GuestField::NotImported;
        mapping[size_t(column)] = *field;
    }
}

QString actionText(const exchange::ReviewRow& row)
{
    if (!row.problems.empty())
        return row.problemAction == exchange::ProblemAction::Fix && row.fixable() ? QStringLiteral("fix")
                                                                                  : QStringLiteral("skip");
    switch (row.duplicateAction) {
        case exchange::DuplicateAction::Skip:
            return QStringLiteral("skip");
        case exchange::DuplicateAction::Add:
            return QStringLiteral("add anyway");
        case exchange::DuplicateAction::Fill:
            return QStringLiteral("fill empty fields");
    }
    return {};
}

void printReview(QTextStream& out, const exchange::CsvTable& table,
                 const std::vector<exchange::GuestField>& mapping, const exchange::ImportReview& review)
{
    out << QStringLiteral("%1, %2 separated, %3, %4 rows.\n")
               .arg(exchange::encodingName(table.encoding), exchange::separatorName(table.separator),
                    table.headerRow ? QStringLiteral("header row") : QStringLiteral("no header row"))
               .arg(table.rows.size());
    out << "Columns:\n";
    for (size_t i = 0; i < mapping.size(); ++i)
        out << QStringLiteral("  %1 -> %2\n")
                   .arg(table.headers[qsizetype(i)], mapping[i] == exchange::GuestField::NotImported
                                                         ? QStringLiteral("not imported")
                                                         : exchange::fieldInfo(mapping[i]).caption);
    const auto section = [&](const QString& title, int count, auto belongs, auto describe) {
        out << QStringLiteral("%1 (%2):\n").arg(title).arg(count);
        for (const exchange::ReviewRow& row : review.rows)
            if (belongs(row))
                out << QStringLiteral("  row %1  %2\n").arg(row.rowNumber).arg(describe(row));
    };
    section(
        QStringLiteral("New parties"), review.newCount(),
        [](const auto& r) { return r.problems.empty() && !r.duplicate; },
        [](const auto& r) { return r.name(); });
    section(
        QStringLiteral("Likely duplicates"), review.duplicateCount(),
        [](const auto& r) { return r.problems.empty() && r.duplicate; },
        [&review](const exchange::ReviewRow& r) {
            const QString other =
                r.duplicate->ofExisting
                    ? QStringLiteral("\"%1\" in the list").arg(r.duplicate->matchedName)
                    : QStringLiteral("row %1").arg(review.rows[size_t(r.duplicate->earlierRow)].rowNumber);
            return QStringLiteral("%1: %2 as %3 -> %4")
                .arg(r.name(), r.duplicate->reason, other, actionText(r));
        });
    section(
        QStringLiteral("Problems"), review.problemCount(), [](const auto& r) { return !r.problems.empty(); },
        [](const exchange::ReviewRow& r) {
            QStringList texts;
            for (const exchange::Problem& p : r.problems)
                texts << p.text();
            return QStringLiteral("%1: %2 -> %3")
                .arg(r.name(), texts.join(QStringLiteral("; ")), actionText(r));
        });
}

int importGuests(const QStringList& args, QTextStream& out)
{
    ImportOptions o;
    for (qsizetype i = 0; i < args.size(); ++i)
        readOption(o, args, i);
    if (o.wedding.isEmpty() || o.file.isEmpty())
        throw UsageError{QStringLiteral("import-guests needs WEDDING.mdb and FILE.csv.")};
    const exchange::CsvTable table = exchange::readCsvFile(o.file, o.csv);
    store::Database& db =
        openWedding(o.wedding, o.dryRun ? store::OpenMode::ReadOnly : store::OpenMode::ReadWrite);
    std::vector<exchange::GuestField> mapping = exchange::guessMapping(table.headers);
    if (table.headerRow) {
        if (auto last = exchange::rememberedMapping(db, table.headers)) {
            mapping = *last;
            out << "Columns as in the last import of a file with this header.\n";
        }
    }
    applyMaps(mapping, o, table.headers);
    exchange::ImportSettings settings;
    settings.mapping = mapping;
    settings.people = &guests::memberImport();
    if (exchange::groupsPeople(mapping) && !o.dryRun)
        store::upgradeLayout(db);
    settings.inviteTo = o.inviteTo;
    settings.side = o.side;
    std::unique_ptr<store::Recordset> general = db.openRecordset(QStringLiteral("General"));
    if (!general->eof()) {
        settings.brideName = general->value(QStringLiteral("bridesname")).toString();
        settings.groomName = general->value(QStringLiteral("groomsname")).toString();
    }
    general->close();
    exchange::ImportReview review = exchange::reviewImport(
        table, settings,
        exchange::loadGuestList(db, exchange::groupsPeople(mapping) ? settings.people : nullptr));
    for (exchange::ReviewRow& row : review.rows) {
        row.duplicateAction = o.onDuplicate;
        row.problemAction = o.onProblem;
    }
    printReview(out, table, mapping, review);
    if (o.dryRun) {
        out << "Dry run, nothing written. The import would give: " << exchange::planSummary(review).summary()
            << "\n";
        return Done;
    }
    out << exchange::runImport(db, review).summary() << "\n";
    return Done;
}

// ---- export and calendar -------------------------------------------------------------

int exportCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 3)
        throw UsageError{QStringLiteral("export needs WEDDING.mdb, a list and OUT.csv or OUT.xlsx.")};
    const std::optional<exchange::ExportList> list = exchange::listByName(args[1]);
    const bool members = args[1] == QLatin1String("members");
    if (!list && !members)
        throw UsageError{
            QStringLiteral("Unknown list \"%1\": choose guests, members, vendors, expenses or checklist.")
                .arg(args[1])};
    if (!exchange::formatOfPath(args[2]))
        throw UsageError{QStringLiteral("\"%1\": the file name must end in .csv or .xlsx.").arg(args[2])};
    if (members)
        return exportMembers(args[0], args[2], out);
    QStringList notes;
    const int rows =
        exchange::exportList(openWedding(args[0], store::OpenMode::ReadOnly), *list, args[2], &notes);
    out << QStringLiteral("%1 rows written to %2.\n").arg(rows).arg(args[2]);
    printNotes(out, QStringLiteral("Cut to fit:"), notes);
    return Done;
}

int calendarCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 2)
        throw UsageError{QStringLiteral("calendar needs WEDDING.mdb and OUT.ics.")};
    QStringList problems;
    const int events =
        exchange::writeCalendar(openWedding(args[0], store::OpenMode::ReadOnly), args[1], &problems);
    out << QStringLiteral("%1 events written to %2.\n").arg(events).arg(args[1]);
    printNotes(out, QStringLiteral("Left out:"), problems);
    return problems.isEmpty() ? Done : Failed;
}

// ---- backups and restore -------------------------------------------------------------

// Columns padded to their widest cell, the last one as it is.
void printColumns(QTextStream& out, const QList<QStringList>& rows)
{
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (size_t(c) >= widths.size())
                widths.push_back(0);
            widths[size_t(c)] = std::max(widths[size_t(c)], row[c].size());
        }
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 == row.size() ? row[c] : row[c].leftJustified(widths[size_t(c)] + 2);
        out << line << "\n";
    }
}

int backupsCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 1)
        throw UsageError{QStringLiteral("backups needs WEDDING.mdb.")};
    const std::vector<store::backup::Entry> entries = store::backup::list(args[0]);
    if (entries.empty()) {
        out << QStringLiteral("No backups of %1 in %2.\n").arg(args[0], store::backup::folderFor(args[0]));
        return Done;
    }
    QList<QStringList> rows{QStringList{QStringLiteral("No.")} + store::backup::columnTitles() +
                            QStringList{QStringLiteral("File")}};
    for (size_t i = 0; i < entries.size(); ++i)
        rows << QStringList{QString::number(i + 1)} + store::backup::columns(entries[i]) +
                    QStringList{QFileInfo(entries[i].path).fileName()};
    printColumns(out, rows);
    out << QStringLiteral("%1 backups in %2\n").arg(entries.size()).arg(store::backup::folderFor(args[0]));
    return Done;
}

// The backup a command line names: a number of the list, a file name in the backups folder, or a path.
QString chosenBackup(const QString& wedding, const QString& named)
{
    bool isNumber = false;
    const int number = named.toInt(&isNumber);
    if (isNumber && !QFileInfo::exists(named)) {
        const std::vector<store::backup::Entry> entries = store::backup::list(wedding, false);
        if (number < 1 || number > int(entries.size()))
            throw exchange::ExchangeError(
                QStringLiteral("There is no backup number %1: `orvane-cli backups %2` "
                               "lists %3.")
                    .arg(named, wedding)
                    .arg(entries.size()));
        return entries[size_t(number - 1)].path;
    }
    const QString inFolder = store::backup::folderFor(wedding) + QLatin1Char('/') + named;
    if (!QFileInfo::exists(named) && !named.contains(QLatin1Char('/')) && QFileInfo::exists(inFolder))
        return inFolder;
    return named;
}

int restoreCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 2)
        throw UsageError{QStringLiteral("restore needs WEDDING.mdb and BACKUP.")};
    const QString backup = chosenBackup(args[0], args[1]);
    store::backup::removeLeftovers(args[0]);
    const QString kept = store::backup::restore(args[0], backup);
    out << QStringLiteral("Restored %1 from %2.\n").arg(args[0], backup);
    if (!kept.isEmpty())
        out << QStringLiteral("The file as it was is kept as %1.\n").arg(kept);
    return Done;
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
        {"import-guests", QString::fromLatin1(ImportHelp).arg(fieldKeys()), importGuests},
        {"export", QString::fromLatin1(ExportHelp), exportCommand},
        {"calendar", QString::fromLatin1(CalendarHelp), calendarCommand},
        {"seat", QString::fromLatin1(SeatHelp), seatCommand},
        {"guests", guestsHelp(), guestsCommand},
        {"set", setHelp(), setCommand},
        {"undo", undoHelp(), undoCommand},
        {"backups", QString::fromLatin1(BackupsHelp), backupsCommand},
        {"restore", QString::fromLatin1(RestoreHelp), restoreCommand},
        {"budget", QString::fromLatin1(BudgetHelp), budgetCommand},
        {"import-expenses", QString::fromLatin1(ImportExpensesHelp), importExpensesCommand},
        {"import-replies", QString::fromLatin1(ImportRepliesHelp), importRepliesCommand},
        {"catering", QString::fromLatin1(CateringHelp), cateringCommand},
        {"place-cards", QString::fromLatin1(PlaceCardsHelp), placeCardsCommand},
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
        } catch (const exchange::ExchangeError& e) {
            err << "orvane-cli " << command << ": " << e.message() << "\n";
        } catch (const store::StoreError& e) {
            err << "orvane-cli " << command << ": " << e.description() << " (error " << e.number() << ")\n";
        } catch (const store::WordedError& e) {
            err << "orvane-cli " << command << ": " << e.description() << "\n";
        }
        store::Workspace::defaultWorkspace().close();
        return Failed;
    }
    err << "orvane-cli: unknown command \"" << command << "\".\n" << GeneralHelp;
    return Usage;
}

}  // namespace cli
