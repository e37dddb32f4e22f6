#include "app/Startup.h"
#include "shell/Paths.h"

#include "app/AppStyle.h"
#include "app/Recovery.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "controls/Dialogs.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/ProgramIcon.h"
#include "shell/Tips.h"
#include "shell/Windows.h"
#include "shell/frmCalander.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <memory>

namespace {

// Quits once the watched window has painted for the first time.
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

// Closes every modal window as soon as it is shown (the welcome and tip windows of a first
// run), so that an unattended start reaches the main window.
class CloseModalWindows : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() &&
            widget->windowModality() != Qt::NonModal)
            QTimer::singleShot(0, widget, [widget] { widget->close(); });
        return false;
    }
};

// The title names the error as the engine does; the text under the message repeats the
// reason and gives the file's path, for desktops that show no title bar on message boxes.
void reportStartFailure(const store::StoreError& e, const QString& databasePath)
{
    const QString explanation = e.description() + QStringLiteral("\n\nWedding file: ") +
                                QDir::toNativeSeparators(databasePath) + QStringLiteral("\nError number: ") +
                                QString::number(e.number());
    controls::ExplainedMsgBox(QStringLiteral("Can't open database."), explanation,
                              controls::mb::Exclamation | controls::mb::OKOnly,
                              e.description() + QLatin1Char(' ') + QString::number(e.number()));
}

// One attempt at the start-up sequence; throws store::StoreError.
void startProgram(std::unique_ptr<frmSplash>& splash, std::unique_ptr<frmMain>& main)
{
    shell::Program& p = shell::program();
    shell::prepareWeddingFile();
    store::upgradeLayout(shell::workspace().openDatabase(p.DatabasePath));
    splash = std::make_unique<frmSplash>();
    splash->show();  // a splash screen is painted as it is shown, before the tips load
    shell::LoadTips(shell::database());
    main = std::make_unique<frmMain>();
    main->Form_Load(splash.get());
    splash.reset();
    if (qEnvironmentVariableIsSet(QuitWhenShownVariable)) {
        main->installEventFilter(new QuitWhenPainted(main.get()));
        main->update();  // a first run has shown it already: it must paint once more
    }
    main->show();
    // Housekeeping that the main window does not need waits until it is up: the leftovers of
    // an interrupted compaction, repair or restore (every maintenance step removes them again
    // before it starts) and the start-of-day backup. The backup comes once the file has opened
    // and loaded, so a file that fails its check gets no copy and says so over the main window
    // instead of before the start-up's own message.
    shell::runWhenPainted(main.get(), [window = main.get()] {
        app::removeMaintenanceLeftovers();
        app::makeDailyBackup(window);
    });
}

}  // namespace

bool Main()
{
    app::installAppStyle();
    shell::fitWindowsWhenShown();  // no window opens larger than its screen or partly off it
    QApplication::setWindowIcon(shell::programIcon());  // every window shows it
    shell::Program& p = shell::program();
    p.DatabasePath = shell::weddingFilePath();
    std::unique_ptr<CloseModalWindows> closeModals;
    if (qEnvironmentVariableIsSet(QuitWhenShownVariable)) {
        closeModals = std::make_unique<CloseModalWindows>();
        qApp->installEventFilter(closeModals.get());
    }
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
            reportStartFailure(e, p.DatabasePath);
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
