// Pictures of the people of the parties on the sample wedding, every party given its members
// (names, age groups, meals, needs, replies): the Members tab of the guest window, the replies
// window, the catering report's first page (also written as PDF), and the first sheet of place
// cards on tent-card stock and of escort cards on flat stock (also as PDF), and the Reports
// window's Place Cards tab. Run under Xvfb:
//
//   xvfb-run -a -s "-screen 0 1280x720x24" build/tools/members_screenshots OUTPUT_FOLDER
#include "app/PeopleReports.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "guests/MemberStore.h"
#include "guests/frmGuests.h"
#include "guests/frmGuestsMembers.h"
#include "guests/frmReplies.h"
#include "reports/ReportPdf.h"
#include "reports/frmReports.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/support/SampleWedding.h"
#include "tools/ScreenshotKit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// Each party gets as many members as it invited (at most four), the party's last name, a first
// name from the list, children and an infant in the larger parties, meals, needs and replies.
const char* const People = R"sql(
CREATE TEMP TABLE names (i INTEGER PRIMARY KEY, name TEXT);
INSERT INTO names VALUES (0, 'Olivia'), (1, 'Liam'), (2, 'Emma'), (3, 'Noah'), (4, 'Amelia'), (5, 'Oliver'),
    (6, 'Sophia'), (7, 'Elijah'), (8, 'Chloé'), (9, 'Mateo'), (10, 'Isabella'), (11, 'Lucas'), (12, 'Mia'),
    (13, 'Henry'), (14, 'Zoë'), (15, 'Theo'), (16, 'Grace'), (17, 'Leo'), (18, 'Nora'), (19, 'Jack');
WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 4)
INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName, AgeGroup, MealId, Needs, NeedsNote)
SELECT g.rowid, n.k, (SELECT name FROM names WHERE i = (g.rowid * 7 + n.k * 3) % 20), g.LastName,
       CASE WHEN n.k = 4 THEN 'Infant' WHEN n.k = 3 THEN 'Child' ELSE 'Adult' END,
       CASE WHEN n.k = 4 THEN NULL WHEN n.k = 3 THEN 4 WHEN (g.rowid + n.k) % 5 = 0 THEN NULL
            ELSE 1 + (g.rowid + n.k) % 3 END,
       CASE (g.rowid * 3 + n.k) % 11 WHEN 0 THEN 'Vegetarian' WHEN 1 THEN 'Gluten-free'
            WHEN 2 THEN 'Nut allergy' WHEN 3 THEN 'Vegan, Lactose intolerance' END,
       CASE WHEN (g.rowid + n.k) % 13 = 0 THEN 'No mushrooms' END
  FROM Guests g JOIN n ON n.k <= min(4, max(1, coalesce(g.Invited, 1)));
INSERT INTO GuestsMemberReplies (MemberId, Event, Reply)
SELECT m.MemberId, 'Reception', CASE WHEN m.MemberId % 9 = 0 THEN 'Declined' ELSE 'Attending' END
  FROM GuestsMembers m JOIN Guests g ON g.rowid = m.PartyKey
 WHERE g.InvReception AND m.PartyKey % 4 <> 0;
)sql";

// The page as printed; with `outlines`, the cards' edges (and a tent card's fold) drawn faintly
// over it as the stock is cut, which the printout itself leaves to the stock.
void shootPage(const reports::ReportPages& pages, const QString& name, bool outlines = false)
{
    const double scale = 110.0 / 72.0;
    QImage image((pages.size * scale).toSize(), QImage::Format_RGB32);
    // Fonts are sized in points on a 72 dpi device, like the page coordinates, and both scaled.
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    reports::paintPage(painter, pages, 0);
    if (outlines) {
        painter.setPen(QPen(QColor(160, 160, 160), 0.5, Qt::DashLine));
        for (const QRectF& card : pages.pages[0].labels) {
            painter.drawRect(card);
            if (!pages.pages[0].turned.empty())
                painter.drawLine(QPointF(card.left(), card.center().y()),
                                 QPointF(card.right(), card.center().y()));
        }
    }
    painter.end();
    const QString file = shots::outputFolder() + "/" + name + ".png";
    image.save(file);
    std::printf("%s %dx%d\n", qPrintable(file), image.width(), image.height());
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    shots::outputFolder() = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(shots::outputFolder());
    QTemporaryDir dir;
    const QString database = dir.filePath("wedding.mdb");
    QFile::copy(ORVANE_DELIVERED_DB, database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    {
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(database);
        testsupport::loadSampleWedding(db);
        store::Workspace::defaultWorkspace().close();
    }
    shots::sql(database, People);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(database);
    shell::Program& program = shell::program();
    program.DatabasePath = database;
    program.BrideName = QStringLiteral("Emma");
    program.GroomName = QStringLiteral("James");
    std::unique_ptr<store::Recordset> invited =
        db.openRecordset(QStringLiteral("Invited Query"), store::RecordsetType::Snapshot);
    program.InvitedSnapshot = invited.get();
    // Every party's counts as its members give them.
    qint64 shown = 0;
    for (auto guests = db.openRecordset(QStringLiteral("SELECT * FROM Guests ORDER BY LastName"),
                                        store::RecordsetType::Snapshot);
         !guests->eof(); guests->moveNext()) {
        const qint64 party = guests->bookmark();
        guests::correctCounts(db, party);
        if (!shown && guests::loadMembers(db, party).size() == 4)
            shown = party;
    }

    controls::setModalHook([shown](QWidget* window) {
        window->move(40, 30);
        window->show();
        if (auto* guests = qobject_cast<frmGuests*>(window)) {
            guests->Data1->setBookmark(shown);
            guests->SSTab1->setCurrentIndex(frmGuests::MembersTab);
            guests->memTab->memList->setCurrentCell(2, 0);
            guests->memTab->memList->setFocus();
            shots::shoot(window, "members");
        } else if (auto* replies = qobject_cast<frmReplies*>(window)) {
            QTest::keyClicks(replies->txtFind, QStringLiteral("chloe"));
            QTest::keyClick(replies->txtFind, Qt::Key_Down);
            shots::shoot(window, "replies");
        }
        window->close();
        return 0;
    });
    showGuestWindow(shown);
    showRepliesWindow();
    controls::setModalHook({});

    const reports::ReportPages pages = reports::layoutTableSheet(app::cateringSheet(db));
    shootPage(pages, "catering-report");
    reports::writePdf(pages, shots::outputFolder() + "/catering-report.pdf");
    {
        app::registerPeopleReports();
        frmReports reportsWindow;
        if (reportsWindow.Form_Load()) {
            reportsWindow.move(40, 30);
            reportsWindow.show();
            reportsWindow.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(frmReports::PlaceCardsTab);
            QApplication::processEvents();
            shots::shoot(&reportsWindow, "place-cards-tab");
        }
    }
    for (const bool escort : {false, true}) {
        const reports::CardList cards = app::cardList(db, escort);
        const reports::ReportPages sheet =
            reports::layoutCards(cards.cards, *reports::cardStockOf(escort ? "flat" : "tent"), cards.title);
        const QString name = escort ? QStringLiteral("escort-cards") : QStringLiteral("place-cards");
        shootPage(sheet, name, true);
        reports::writePdf(sheet, shots::outputFolder() + "/" + name + ".pdf");
    }
    program.InvitedSnapshot = nullptr;
    invited.reset();
    store::Workspace::defaultWorkspace().close();
    return 0;
}
