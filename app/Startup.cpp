#include "app/Startup.h"

#include "app/AppStyle.h"
#include "app/Help.h"
#include "app/Program.h"
#include "app/Tips.h"
#include "app/frmCalander.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "controls/Dialogs.h"
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

void app::LoadTips(store::Database& database)
{
    std::unique_ptr<store::Recordset> tips = database.openRecordset(QStringLiteral("Tips"));
    if (!tips->eof())
        tips->moveFirst();
    while (!tips->eof()) {
        app::program().TipList.append(tips->value(QStringLiteral("tip")).toString());
        tips->moveNext();
    }
    tips->close();
    app::program().GiftTipPending = true;
}

bool Main()
{
    app::installAppStyle();
    app::Program& p = app::program();
    p.DatabasePath = programDirectory() + QStringLiteral("/wedding.mdb");
    std::unique_ptr<frmSplash> splash;
    std::unique_ptr<frmMain> main;
    try {
        app::workspace().openDatabase(p.DatabasePath);
        splash = std::make_unique<frmSplash>();
        splash->show();
        splash->repaint();  // painted now: the splash is visible while the tips load
        app::LoadTips(app::database());
        main = std::make_unique<frmMain>();
        main->Form_Load(splash.get());
        splash.reset();
        if (qEnvironmentVariableIsSet(QuitWhenShownVariable))
            main->installEventFilter(new QuitWhenPainted(main.get()));
        main->show();
    } catch (const store::StoreError& e) {
        splash.reset();
        main.reset();
        app::workspace().close();
        reportStartFailure(e);
        return false;
    }
    main.release();  // lives until the program ends
    return true;
}

void shutDownProgram()
{
    app::quitHelp();
    frmCalander::unload();
    delete frmMain::instance();
    app::workspace().close();
    app::program() = app::Program();
}
