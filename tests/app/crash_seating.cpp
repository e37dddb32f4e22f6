// The seating scenarios of the crash tests' child: every step goes through the seating
// code the windows use, and each reports the seating's fingerprint once it has returned.
#include "tests/app/CrashChild.h"

#include "controls/DataList.h"
#include "controls/Dialogs.h"
#include "seating/SeatPlanStore.h"
#include "seating/SeatingActions.h"
#include "seating/frmSeater.h"
#include "seating/frmTables.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/app/SeatingState.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <unistd.h>

#include <functional>
#include <vector>

namespace crashchild {

namespace {

std::vector<qint64> column(const QString& sql)
{
    std::vector<qint64> values;
    auto rs = shell::database().openRecordset(sql, store::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        values.push_back(rs->value(0).toLongLong());
    return values;
}

void reportSeating()
{
    report(crashtest::seatingFingerprint(shell::program().DatabasePath));
}

// What the table editor does when the step under way opens it.
std::function<void(frmTables&)> editorStep;

void typeInEditor(frmTables& editor, const QString& name, int seats)
{
    editor.txtFields[2]->setText(name);
    editor.txtFields[1]->setText(QString::number(seats));
    editor.cmdUpdate->click();
}

}  // namespace

bool driveTableEditor(QWidget* window)
{
    auto* editor = qobject_cast<frmTables*>(window);
    if (!editor)
        return false;
    editor->show();  // the editor begins its transaction when shown
    QApplication::processEvents();
    if (editorStep)
        editorStep(*editor);
    if (editor->isVisible())
        editor->close();
    return true;
}

int runSeating(controls::FakeDialogs& dialogs)
{
    store::Database& db = shell::database();
    const std::vector<qint64> parties = column(QStringLiteral("SELECT rowid FROM Guests ORDER BY rowid"));
    const std::vector<qint64> tables = column(QStringLiteral("SELECT TableId FROM Tables ORDER BY TableId"));
    if (parties.empty() || tables.empty())
        return 6;
    const auto salt = size_t(::getpid());
    for (size_t step = 1;; ++step) {
        dialogs.clear();
        const qint64 party = parties[(step * 7 + salt) % parties.size()];
        stepBegins();
        if (step % 5 == 0) {
            // Seat Everyone: a plan over every party, applied in one go.
            seating::SeatProblem problem = seating::loadProblem(db, true);
            problem.timeLimitSeconds = 0.2;
            seating::applyPlan(db, problem, seating::solveSeating(problem));
        } else if (step % 5 == 4) {
            dialogs.messageAnswers = {controls::mb::Yes};
            seating::unseatPartyAsking(db, party, nullptr);
        } else {
            dialogs.inputAnswers = {{true, QString::number(1 + step % 3)}};
            seating::seatParty(db, party, tables[(step * 3 + salt) % tables.size()], nullptr);
        }
        reportSeating();
    }
}

int runTables(controls::FakeDialogs& dialogs)
{
    frmSeater manager;
    manager.Form_Load();
    manager.show();
    QApplication::processEvents();
    const QString run = QString::number(::getpid());
    auto selectTable = [&](qint64 table) {
        manager.DBList1->selectBoundValue(table);
        manager.DBList1_Click();
    };
    for (int step = 1;; ++step) {
        dialogs.clear();
        const std::vector<qint64> tables =
            column(QStringLiteral("SELECT TableId FROM Tables ORDER BY TableId"));
        const QString name = QStringLiteral("T%1-%2").arg(run).arg(step);
        stepBegins();
        switch (step % 4) {
            case 1:  // Add Table
                editorStep = [&](frmTables& editor) { typeInEditor(editor, name, 8); };
                manager.Command1_Click();
                break;
            case 2:  // Edit Table: the newest one
                if (tables.empty())
                    break;
                selectTable(tables.back());
                editorStep = [&](frmTables& editor) { typeInEditor(editor, name, 10); };
                manager.Command4_Click();
                break;
            case 3: {  // a party not seated yet takes seats at the newest table
                const std::vector<qint64> free =
                    column(QStringLiteral("SELECT rowid FROM Guests WHERE ifnull(tableid, 0) = 0"));
                if (tables.empty() || free.empty())
                    break;
                dialogs.inputAnswers = {{true, QStringLiteral("2")}};
                seating::seatParty(shell::database(), free[size_t(step) % free.size()], tables.back(),
                                   &manager);
                break;
            }
            default:  // Delete Table: the oldest one, its parties back to the unseated
                if (tables.empty())
                    break;
                selectTable(tables.front());
                manager.Command3_Click();
                break;
        }
        editorStep = nullptr;
        if (!dialogs.messages().empty())
            return 7;  // a message was shown: the step did not do its work
        reportSeating();
    }
}

}  // namespace crashchild
