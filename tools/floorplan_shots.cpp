// Saves pictures of the floor plan on the sample wedding: as it opens, with the plan that
// "Seat Everyone" proposes, after the plan is applied, with the table editor open from Add
// Table..., and the printed page and escort-card list as PDF files; then, with the people of
// each party as members, one table up close with its named seats and the printed page again. Run under a
// display (e.g. Xvfb): orvane_floorplan_shots OUTPUT_FOLDER
#include "seating/FloorPlanPrint.h"
#include "seating/FloorPlanScene.h"
#include "seating/FloorPlanView.h"
#include "seating/SeatPlanStore.h"
#include "seating/frmFloorPlan.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "store/Handle.h"
#include "store/Store.h"
#include "tests/support/SampleWedding.h"

#include "controls/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>

namespace {

// Each party's people (at most four) as members; the second of every third party is the unnamed
// guest the first brings.
const char* const Members = R"sql(
CREATE TEMP TABLE names (i INTEGER PRIMARY KEY, name TEXT);
INSERT INTO names VALUES (0, 'Olivia'), (1, 'Liam'), (2, 'Emma'), (3, 'Noah'), (4, 'Amelia'), (5, 'Oliver'),
    (6, 'Sophia'), (7, 'Elijah'), (8, 'Chloé'), (9, 'Mateo');
WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 4)
INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName)
SELECT g.rowid, n.k, (SELECT name FROM names WHERE i = (g.rowid * 3 + n.k) % 10), g.LastName
  FROM Guests g JOIN n ON n.k <= min(4, max(1, coalesce(g.Invited, 1)));
UPDATE GuestsMembers SET FirstName = NULL, LastName = NULL, PlusOneOf = MemberId - 1
 WHERE SortOrder = 2 AND PartyKey % 3 = 0;
)sql";

void shoot(QWidget* window, const QString& folder, const QString& name)
{
    QTest::qWait(400);
    window->grab().save(folder + "/" + name + ".png");
    std::printf("%s/%s.png\n", qPrintable(folder), qPrintable(name));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The tool lies outside the program folder: the seating solver is loaded from there.
    shell::setModuleDirectory(testsupport::binDir());
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir dir;
    const QString path = dir.filePath("wedding.mdb");
    QFile::copy(ORVANE_DELIVERED_DB, path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    shell::program().DatabasePath = path;
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path);
    testsupport::loadSampleWedding(db);
    seating::savePreferences(db, {true, seating::Balance::None});

    frmFloorPlan plan;
    plan.Form_Load();
    plan.resize(1280, 760);
    plan.show();
    QTest::qWait(300);
    plan.viewPlan->fitAll();
    shoot(&plan, out, "floorplan-before");
    plan.proposePlan(false, 5);
    shoot(&plan, out, "floorplan-proposed");
    plan.applyPlan();
    plan.viewPlan->fitAll();
    shoot(&plan, out, "floorplan-after");
    // Add Table...: the plan with the table editor over it, as the screen shows them.
    controls::setModalHook([&](QWidget* editor) {
        editor->show();
        editor->move(plan.geometry().center() - QPoint(editor->width() / 2, editor->height() / 2));
        QTest::qWait(400);
        const QRect area = plan.frameGeometry();
        QGuiApplication::primaryScreen()
            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .save(out + "/floorplan-add-table.png");
        std::printf("%s/floorplan-add-table.png\n", qPrintable(out));
        editor->close();
        return 0;
    });
    plan.move(0, 0);
    plan.cmdAddTable->click();
    controls::setModalHook({});
    seating::writeFloorPlanPdf(*plan.scene(), out + "/floorplan-printed.pdf");
    seating::writeEscortCardsPdf(plan.scene()->state(), out + "/escort-cards.pdf");
    std::printf("%s/floorplan-printed.pdf\n%s/escort-cards.pdf\n", qPrintable(out), qPrintable(out));

    // Each party's people as members, a plus-one among them; the tables show their named seats.
    sqlite3_exec(store::handleOf(db), Members, nullptr, nullptr, nullptr);
    // The second table rectangular, to show the names along its sides.
    const seating::FloorState::Table& second = plan.scene()->state().tables.at(1);
    seating::savePlace(db, second.key, {second.place.centre, seating::TableShape::Rectangle});
    plan.reload();
    plan.viewPlan->fitAll();
    shoot(&plan, out, "floorplan-members");
    const seating::FloorState& state = plan.scene()->state();
    if (!state.seats.empty()) {
        const QRectF table = plan.scene()->tableItem(state.seats.front().table)->sceneBoundingRect();
        plan.viewPlan->zoomBy(1);  // the user's zoom from now on: the plan no longer fills the view
        plan.viewPlan->fitInView(table.adjusted(-110, -40, 110, 40), Qt::KeepAspectRatio);
        shoot(&plan, out, "floorplan-named-seats");
        const QRectF rectangle = plan.scene()->tableItem(second.key)->sceneBoundingRect();
        plan.viewPlan->fitInView(rectangle.adjusted(-60, -110, 60, 110), Qt::KeepAspectRatio);
        shoot(&plan, out, "floorplan-named-seats-rectangle");
    }
    seating::writeFloorPlanPdf(*plan.scene(), out + "/floorplan-members-printed.pdf");
    std::printf("%s/floorplan-members-printed.pdf\n", qPrintable(out));
    store::Workspace::defaultWorkspace().close();
    return 0;
}
