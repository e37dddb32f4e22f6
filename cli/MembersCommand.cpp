#include "cli/MembersCommand.h"

#include "cli/Options.h"
#include "cli/UsageError.h"
#include "exchange/CsvFile.h"
#include "exchange/Export.h"
#include "guests/PeopleLists.h"
#include "guests/PlaceCards.h"
#include "guests/ReplyImport.h"
#include "reports/CardSheet.h"
#include "reports/ReportPdf.h"
#include "store/Layout.h"
#include "store/OutputFile.h"
#include "store/Store.h"

namespace cli {

const char* const ImportRepliesHelp =
    "Usage: orvane-cli import-replies WEDDING.mdb FILE.csv [--dry-run]\n"
    "Reads replies saved as CSV (a reply form's export): a name column (\"Name\", or \"First Name\"\n"
    "and \"Last Name\"), a reply column for the reception (\"Attending\", \"RSVP\") or one per event\n"
    "(\"Ceremony\", \"Reception\", \"Shower\", \"Rehearsal\"), a meal column (\"Meal\", \"Entree\") and\n"
    "a needs column (\"Dietary Needs\", \"Allergies\"). Each row is matched to one member by name,\n"
    "blind to case, accents and surrounding blanks. Every matched row is applied in one transaction\n"
    "after a backup copy of WEDDING.mdb, with the parties' counts; rows that match nobody or more\n"
    "than one member, and rows whose values cannot be read, are listed and change nothing (exit\n"
    "status 1 when there are such rows). An empty cell changes nothing.\n\n"
    "Options:\n"
    "  --dry-run                  print the review only; the wedding file is not changed\n";

const char* const CateringHelp =
    "Usage: orvane-cli catering WEDDING.mdb OUT.csv\n"
    "Writes the catering summary as CSV (UTF-8 with BOM): one row per table, a row \"Not seated\"\n"
    "and last the row \"Total\", with the columns Table, Adults, Children, Infants, one per meal of\n"
    "the menu and \"No meal chosen\". It counts the people expected at the reception: members\n"
    "attending, and members of parties invited to the reception who have not replied; declined\n"
    "members are left out. The wedding file is only read.\n";

const char* const PlaceCardsHelp =
    "Usage: orvane-cli place-cards WEDDING.mdb OUT.pdf [--stock tent|flat] [--escort]\n"
    "Writes a PDF file of cards on Letter-size card stock, a card for each person expected at\n"
    "the reception (attending, or invited and not yet replied) whose party is seated at a table.\n"
    "Place cards carry the name (\"Guest of\" and the name of the member who brings an unnamed\n"
    "plus-one), the table's name and number and the meal's mark, by table; escort cards the name\n"
    "and the table, alphabetically by last name. People not seated get no card and are counted.\n"
    "The wedding file is only read; OUT may not be the wedding file, its journal or a backup.\n"
    "Without a single card nothing is written (exit status 1).\n\n"
    "Options:\n"
    "  --stock tent|flat          tent cards, 3.5 x 2 in folded, 4 per sheet (the default for\n"
    "                             place cards), or flat cards, 3.5 x 2 in, 10 per sheet (the\n"
    "                             default for escort cards)\n"
    "  --escort                   escort cards instead of place cards\n";

namespace {

store::Database& openReading(const QString& wedding)
{
    return store::Workspace::defaultWorkspace().openDatabase(wedding, store::OpenMode::ReadOnly);
}

}  // namespace

int exportMembers(const QString& wedding, const QString& path, QTextStream& out)
{
    store::Database& db = openReading(wedding);
    exchange::ExportTable table;
    table.title = QStringLiteral("Members");
    for (const QString& caption : guests::memberListColumns())
        table.columns.push_back({caption, caption, exchange::ColumnType::Text, caption.size() < 8 ? 12 : 20});
    for (const QStringList& row : guests::memberListRows(guests::loadPeople(db))) {
        QVariantList values;
        for (const QString& cell : row)
            values << (cell.isEmpty() ? QVariant() : QVariant(cell));
        table.rows.push_back(values);
    }
    QStringList notes;
    if (exchange::formatOfPath(path) == exchange::ExportFormat::Xlsx)
        exchange::writeXlsx(table, path, db.path(), &notes);
    else
        exchange::writeCsv(table, path, db.path());
    out << QStringLiteral("%1 rows written to %2.\n").arg(table.rows.size()).arg(path);
    for (const QString& note : notes)
        out << "  " << note << "\n";
    return 0;
}

int importRepliesCommand(const QStringList& args, QTextStream& out)
{
    QString wedding, file;
    bool dryRun = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--dry-run"))
            dryRun = true;
        else
            takeFiles(a, wedding, file);
    }
    if (wedding.isEmpty() || file.isEmpty())
        throw UsageError{QStringLiteral("import-replies needs WEDDING.mdb and FILE.csv.")};
    const exchange::CsvTable table = exchange::readCsvFile(file);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(
        wedding, dryRun ? store::OpenMode::ReadOnly : store::OpenMode::ReadWrite);
    if (!dryRun)
        store::upgradeLayout(db);
    QList<QStringList> rows = table.rows.allAsRead();
    for (QStringList& row : rows)
        for (QString& cell : row)
            cell = exchange::unguardedText(cell);
    const guests::ReplyReview review =
        guests::reviewReplies(guests::loadPeople(db), table.headers, rows, table.rowNumbers);
    out << guests::reviewText(review);
    const bool clean = review.unmatched.isEmpty() && review.ambiguous.isEmpty() && review.refused.isEmpty();
    if (dryRun) {
        out << QStringLiteral("Dry run, nothing written. The import would apply %1 rows.\n")
                   .arg(review.matched.size());
        return clean ? 0 : 1;
    }
    const guests::ReplyImportResult result = guests::importReplies(db, review);
    if (result.applied == 0)
        out << "Nothing was changed.\n";
    else
        out << QStringLiteral("%1 rows applied; the wedding file as it was is kept as %2.\n")
                   .arg(result.applied)
                   .arg(result.backupPath);
    return clean ? 0 : 1;
}

int cateringCommand(const QStringList& args, QTextStream& out)
{
    if (args.size() != 2)
        throw UsageError{QStringLiteral("catering needs WEDDING.mdb and OUT.csv.")};
    store::Database& db = openReading(args[0]);
    const guests::CateringSummary summary = guests::cateringOf(guests::loadPeople(db));
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += exchange::csvLine(summary.columns);
    for (const guests::CateringRow& row : summary.rows) {
        QStringList cells = guests::CateringSummary::cells(row);
        cells[0] = exchange::textCell(cells[0]);
        bytes += exchange::csvLine(cells);
    }
    store::output::writeFile(args[1], bytes, db.path());
    out << QStringLiteral("%1 tables and %2 people expected written to %3.\n")
               .arg(summary.rows.size() - 2)
               .arg(summary.rows.back().people())
               .arg(args[1]);
    return 0;
}

int placeCardsCommand(const QStringList& args, QTextStream& out)
{
    QString wedding, file, stockKey;
    bool escort = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--escort"))
            escort = true;
        else if (args[i] == QLatin1String("--stock"))
            stockKey = takeValue(args, i).toLower();
        else
            takeFiles(args[i], wedding, file);
    }
    if (wedding.isEmpty() || file.isEmpty())
        throw UsageError{QStringLiteral("place-cards needs WEDDING.mdb and OUT.pdf.")};
    if (stockKey.isEmpty())
        stockKey = escort ? QStringLiteral("flat") : QStringLiteral("tent");
    const reports::CardStock* stock = reports::cardStockOf(stockKey);
    if (!stock)
        throw UsageError{QStringLiteral("--stock takes tent or flat, not \"%1\".").arg(stockKey)};
    store::Database& db = openReading(wedding);
    store::output::check(file, db.path());
    const guests::WeddingPeople people = guests::loadPeople(db);
    const guests::Cards cards = escort ? guests::escortCardsOf(people) : guests::placeCardsOf(people);
    const QString note = guests::notSeatedNote(cards);
    const QString notSeated = note.isEmpty() ? QString() : note + QLatin1Char('\n');
    if (cards.cards.empty()) {
        out << "No cards written: no one expected at the reception is seated at a table yet.\n" << notSeated;
        return 1;
    }
    std::vector<QStringList> lines;
    lines.reserve(cards.cards.size());
    for (const guests::PlaceCard& card : cards.cards)
        lines.push_back(card.lines());
    const reports::ReportPages pages = reports::layoutCards(
        lines, *stock, escort ? QStringLiteral("Escort Cards") : QStringLiteral("Place Cards"));
    reports::writePdf(pages, file);
    const size_t sheets = pages.pages.size();
    out << QStringLiteral("%1 %2 %3 on %4 %5 written to %6.\n")
               .arg(cards.cards.size())
               .arg(escort ? QStringLiteral("escort") : QStringLiteral("place"))
               .arg(cards.cards.size() == 1 ? QStringLiteral("card") : QStringLiteral("cards"))
               .arg(sheets)
               .arg(sheets == 1 ? QStringLiteral("sheet") : QStringLiteral("sheets"))
               .arg(file)
        << notSeated;
    return 0;
}

}  // namespace cli
