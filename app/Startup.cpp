#include "app/Startup.h"
#include "shell/Paths.h"

#include "app/AppStyle.h"
#include "app/Recovery.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "controls/Dialogs.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "shell/frmCalander.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <memory>

namespace {

// Quits once the window has painted for the first time.
class QuitWhenPainted : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // exit(), not quit(): quitting closes every window, which would run the exit command.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
};

void reportStartFailure(const store::StoreError& e)
{
    controls::MsgBox(QStringLiteral("Can't open database."), controls::mb::Exclamation | controls::mb::OKOnly,
                     e.description() + QLatin1Char(' ') + QString::number(e.number()));
}

}  // namespace

void shell::LoadTips(store::Database& database)
{
    std::unique_ptr<store::Recordset> tips = database.openRecordset(QStringLiteral("Tips"));
    if (!tips->eof())
        tips->moveFirst();
    while (!tips->eof()) {
        shell::program().TipList.append(tips->value(QStringLiteral("tip")).toString());
        tips->moveNext();
    }
    tips->close();
    shell::program().GiftTipPending = true;
}

namespace {

// One attempt at the start-up sequence; throws store::StoreError.
void startProgram(std::unique_ptr<frmSplash>& splash, std::unique_ptr<frmMain>& main)
{
    shell::Program& p = shell::program();
    store::upgradeLayout(shell::workspace().openDatabase(p.DatabasePath));
    app::makeDailyBackup();
    splash = std::make_unique<frmSplash>();
    splash->show();
    splash->repaint();  // painted now: the splash is visible while the tips load
    shell::LoadTips(shell::database());
    main = std::make_unique<frmMain>();
    main->Form_Load(splash.get());
    splash.reset();
    if (qEnvironmentVariableIsSet(QuitWhenShownVariable))
        main->installEventFilter(new QuitWhenPainted(main.get()));
    main->show();
}

}  // namespace

bool Main()
{
    app::installAppStyle();
    shell::Program& p = shell::program();
    p.DatabasePath = shell::programDirectory() + QStringLiteral("/wedding.mdb");
    app::removeMaintenanceLeftovers();
    for (;;) {
        std::unique_ptr<frmSplash> splash;
        std::unique_ptr<frmMain> main;
        try {
            startProgram(splash, main);
            main.release();  // lives until the program ends
            return true;
        } catch (const store::StoreError& e) {
            splash.reset();
            main.reset();
            shell::workspace().close();
            p.TipList.clear();
            reportStartFailure(e);
            // A file that cannot be opened is not the end: repaired or restored, start again.
            if (!app::offerRecovery(e))
                return false;
        }
    }
}

void shutDownProgram()
{
    shell::quitHelp();
    frmCalander::unload();
    delete frmMain::instance();
    shell::workspace().close();
    shell::program() = shell::Program();
}
