// Shows the checklist or the expense window over 30 rows for a few seconds, opened as
// the main window opens it, so that a screenshot can be taken (e.g. under Xvfb with xwd).
//
//     grids_preview checklist|expenses [seconds]
#include "GridsData.h"

#include "shell/Program.h"
#include "budget/frmDataGrid.h"
#include "checklist/frmCheck.h"
#include "controls/Dialogs.h"
#include "store/Store.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    if (which != "checklist" && which != "expenses") {
        std::fprintf(stderr, "usage: grids_preview checklist|expenses [seconds]\n");
        return 2;
    }
    gridsbench::GridsData data(30, 30);
    controls::setModalHook([seconds](QWidget* window) {
        window->move(10, 10);
        if (auto* sample = window->findChild<QCheckBox*>(QStringLiteral("Check1")))
            sample->setChecked(true);  // the sample items show too
        window->show();
        QEventLoop wait;
        QTimer::singleShot(seconds * 1000, &wait, &QEventLoop::quit);
        wait.exec();
        return 0;
    });
    if (which == "checklist")
        showChecklistWindow(
            shell::database().openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Dynaset));
    else
        showExpenseWindow();
    return 0;
}
