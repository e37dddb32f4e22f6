// A wedding of 3,000 parties with 9,000 members (a third of the parties with replies, meals and
// needs), 40 tables: opening the guest window on its Members tab, moving to the next party with
// its members shown, applying 1,000 replies from a file, the catering summary, and the place
// cards of everyone expected and seated laid out on tent-card sheets. Prints each
// figure (median, slowest run, processor time) and, last, the slowest step in ms.
#include "bench/common/BenchTiming.h"
#include "bench/common/ProgramSetup.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "exchange/CsvFile.h"
#include "guests/PeopleLists.h"
#include "guests/PlaceCards.h"
#include "guests/ReplyImport.h"
#include "guests/frmGuests.h"
#include "guests/frmGuestsMembers.h"
#include "reports/CardSheet.h"
#include "reports/ReportPdf.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Store.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int Parties = 3000;
constexpr int MembersEach = 3;
constexpr int Replies = 1000;

void fillWedding(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    const QString sql =
        QStringLiteral(
            "BEGIN;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
            "INSERT INTO Tables (tablename, tablenumber, max, assigned) SELECT 'Table ' || i, i, 10, 0 FROM "
            "n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Guests (Prefix, FirstName, LastName, guestof, InvReception, ShowerGuest, Invited, "
            "tableid) "
            "SELECT 'Mr. and Mrs.', 'First' || (i % 97), 'Family' || i, 'Both', 1, i % 4 = 0, %2, "
            "CASE WHEN i % 10 = 0 THEN 0 ELSE 1 + i % 40 END FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %3 - 1) "
            "INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName, AgeGroup, MealId, Needs) "
            "SELECT 1 + i / %2, 1 + i % %2, 'Person' || i, 'Family' || (1 + i / %2), "
            "CASE i % 7 WHEN 0 THEN 'Child' WHEN 1 THEN 'Infant' ELSE 'Adult' END, "
            "CASE WHEN i % 3 = 0 THEN 1 + i % 4 END, CASE WHEN i % 11 = 0 THEN 'Vegan' END FROM n;"
            "INSERT INTO GuestsMemberReplies (MemberId, Event, Reply) SELECT MemberId, 'Reception', "
            "CASE WHEN MemberId % 5 = 0 THEN 'Declined' ELSE 'Attending' END FROM GuestsMembers "
            "WHERE MemberId % 3 = 0;"
            "COMMIT;")
            .arg(Parties)
            .arg(MembersEach)
            .arg(Parties * MembersEach);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        std::fprintf(stderr, "filling the wedding failed: %s\n", error);
    sqlite3_close(db);
}

// A reply form's export naming 1,000 members, every ninth one in capitals and without accents.
QByteArray repliesFile()
{
    QByteArray bytes("Name,Attending,Meal,Dietary Needs\n");
    for (int i = 0; i < Replies; ++i) {
        const int member = (i * 9) % (Parties * MembersEach);
        QByteArray name =
            "Person" + QByteArray::number(member) + " Family" + QByteArray::number(1 + member / MembersEach);
        if (i % 9 == 0)
            name = name.toUpper();
        bytes += "  " + name + " ," + (i % 4 ? "Yes" : "No") + "," + (i % 2 ? "Salmon" : "") + "," +
                 (i % 13 == 0 ? "nut allergy" : "") + "\n";
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wedding.mdb"));
    if (!bench::copyDeliveredWedding(ORVANE_DELIVERED_DB, path))
        return 1;
    fillWedding(path);
    const QString replies = dir.filePath(QStringLiteral("replies.csv"));
    {
        QFile f(replies);
        f.open(QIODevice::WriteOnly);
        f.write(repliesFile());
    }

    std::unique_ptr<store::Recordset> invited;
    store::Database& db = bench::openAsTheProgram(path, invited);

    // Opening: until the window is shown on its Members tab with the first party's people.
    std::unique_ptr<frmGuests> window;
    const bench::Timing open = bench::timed(
        5, [&] { window.reset(); },
        [&] {
            window = std::make_unique<frmGuests>();
            window->Form_Load();
            window->SSTab1->setCurrentIndex(frmGuests::MembersTab);
            window->show();
            QApplication::processEvents();
        });
    if (window->memTab->memList->rowCount() != MembersEach)
        std::fprintf(stderr, "the Members tab shows %d people\n", window->memTab->memList->rowCount());

    // The next party with its members shown.
    const bench::Timing next = bench::timed(200, nullptr, [&] {
        window->Data1->navigateNext();
        QApplication::processEvents();
    });
    window.reset();

    // 1,000 replies from a file: reading it, matching each row, one transaction after a backup.
    int applied = 0;
    const bench::Timing import = bench::timed(3, nullptr, [&] {
        const exchange::CsvTable table = exchange::readCsvFile(replies);
        const guests::ReplyReview review = guests::reviewReplies(guests::loadPeople(db), table.headers,
                                                                 table.rows.allAsRead(), table.rowNumbers);
        applied = guests::importReplies(db, review).applied;
    });
    if (applied != Replies)
        std::fprintf(stderr, "%d of %d replies applied\n", applied, Replies);

    int expected = 0;
    const bench::Timing catering = bench::timed(
        10, nullptr, [&] { expected = guests::cateringOf(guests::loadPeople(db)).rows.back().people(); });

    // The place cards as the preview shows them: everyone expected and seated, in table order,
    // laid out on sheets of tent cards; writing them as PDF is timed once beside it.
    size_t cards = 0, sheets = 0;
    reports::ReportPages cardPages;
    const bench::Timing placeCards = bench::timed(5, nullptr, [&] {
        std::vector<QStringList> lines;
        for (const guests::PlaceCard& card : guests::placeCardsOf(guests::loadPeople(db)).cards)
            lines.push_back(card.lines());
        cardPages = reports::layoutCards(lines, *reports::cardStockOf(QStringLiteral("tent")), "Place Cards");
        cards = lines.size();
        sheets = cardPages.pages.size();
    });
    const bench::Timing cardsPdf = bench::timed(
        1, nullptr, [&] { reports::writePdf(cardPages, dir.filePath(QStringLiteral("cards.pdf"))); });

    bench::report("opening the guest window", open, 100, 34);
    bench::report("next party with its members", next, 100, 34);
    bench::report("applying 1,000 replies", import, 1000, 34);
    bench::report("catering summary", catering, 100, 34);
    std::printf("%d people expected at the reception\n", expected);
    bench::report("place cards laid out", placeCards, 100, 34);
    bench::report("place cards written as PDF", cardsPdf, 5000, 34);
    std::printf("%zu place cards on %zu sheets\n", cards, sheets);
    shell::program().InvitedSnapshot = nullptr;
    invited.reset();
    store::Workspace::defaultWorkspace().close();
    std::printf("slowest: %.2f ms\n",
                std::max({open.median, next.median, import.median, catering.median, placeCards.median}));
    return 0;
}
