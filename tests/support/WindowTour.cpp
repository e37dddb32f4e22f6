#include "tests/support/WindowTour.h"

#include "app/frmMain.h"
#include "app/frmRescue.h"
#include "app/frmRestore.h"
#include "app/frmSplash.h"
#include "app/frmWelcome.h"
#include "exchange/frmExport.h"
#include "exchange/frmImportGuests.h"
#include "guests/frmFindGuests.h"
#include "guests/frmGuests.h"
#include "reports/frmReports.h"
#include "seating/frmSeater.h"
#include "shell/DatePicker.h"
#include "shell/Help.h"
#include "shell/HelpViewer.h"
#include "shell/Tips.h"
#include "store/Backup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace testsupport {

namespace {

void click(QWidget* window, const char* button)
{
    if (auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button)))
        b->click();
}

}  // namespace

void WindowTour::look(QWidget* window, const QString& name)
{
    QCoreApplication::processEvents();
    look_(window, name);
}

void WindowTour::showAndLook(QWidget* window, const QString& name)
{
    window->show();
    look(window, name);
    window->close();
}

int WindowTour::modal(QWidget* w)
{
    const QString name = w->objectName();
    look(w, name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name);
    if (name == "frmGuests")
        static_cast<frmGuests*>(w)->SSCommand2_Click();  // the new guest dialog
    else if (name == "frmSeater") {
        static_cast<frmSeater*>(w)->Command1_Click();  // the table editor, adding a table
        static_cast<frmSeater*>(w)->cmdFloorPlan_Click();
    } else if (name == "frmFloorPlan") {
        click(w, "cmdRules");
        click(w, "cmdSeatEveryone");
        click(w, "cmdAddTable");
    } else if (name == "frmReports") {
        static_cast<frmReports*>(w)->SSCommand1_Click();  // the font dialog
    } else if (name == "frmFindGuests") {
        auto* find = static_cast<guests::frmFindGuests*>(w);  // a search and two filters
        find->txtSearch->setText(QStringLiteral("an"));
        find->chkNotSeated->setChecked(true);
        find->cboSide->setCurrentIndex(1);
        look(w, QStringLiteral("frmFindGuests with a search and filters"));
        // The Change menu, with its Invite to menu open.
        QTimer::singleShot(0, [this] {
            if (QWidget* menu = QApplication::activePopupWidget())
                QTest::keyClick(menu, Qt::Key_I);
            QTimer::singleShot(200, [this] {
                if (QWidget* open = QApplication::activePopupWidget())
                    look(open, QStringLiteral("frmFindGuests Change menu"));
                while (QWidget* popup = QApplication::activePopupWidget())
                    popup->close();
            });
        });
        find->cmdChange->showMenu();
    }
    auto* dialog = qobject_cast<QDialog*>(w);
    if (dialog)
        dialog->reject();
    else
        w->close();
    return dialog ? dialog->result() : 0;
}

QStringList WindowTour::modalWindows()
{
    return {"frmGuests", "frmNewGuest",  "frmDataGrid",     "frmCheck",        "frmVendors", "frmSeater",
            "frmTables", "frmFloorPlan", "frmSeatingRules", "frmSeatEveryone", "frmReports", "CD1",
            "frmAbout",  "frmTip",       "frmCalander",     "frmImportGuests", "frmExport",  "frmFindGuests"};
}

void WindowTour::run(frmMain& main, const QString& programDir)
{
    look(&main, "frmMain");
    main.imggeneral_Click();
    look(&main, "frmMain with General Information");
    main.SSCommand4_Click();

    main.imgguests_Click();
    main.mnuFindGuests_Click();
    main.imgexpense_Click();
    main.imgcheck_Click();
    main.imgvendor_Click();
    main.imgseater_Click();
    main.imgreports_Click();
    main.mnuAbout_Click();
    shell::showTip(shell::TipFirstRun);
    shell::pickDate("Enter Due Date", QDate(2027, 8, 15), QString());
    exchange::showImportGuests(&main);
    exchange::showExport(&main, exchange::frmExport::Mode::Lists);
    exchange::showExport(&main, exchange::frmExport::Mode::Calendar);
    shell::showHelp(&main, shell::HelpContents);
    if (HelpViewer* help = shell::currentHelpViewer())
        showAndLook(help, "HelpViewer");

    frmSplash splash;
    showAndLook(&splash, "frmSplash");
    frmWelcome welcome;
    showAndLook(&welcome, "frmWelcome");
    frmRescue rescue("The file is not a database.", true, true);
    showAndLook(&rescue, "frmRescue");
    store::backup::Entry backup;
    backup.path = QDir(programDir).filePath("backups/wedding-2026-12-01.mdb");
    backup.made = QDateTime(QDate(2026, 12, 1), QTime(20, 15));
    backup.size = 180224;
    backup.guestParties = 40;
    backup.tasks = 112;
    frmRestore restore({backup, backup});
    showAndLook(&restore, "frmRestore");
}

}  // namespace testsupport
