#include "app/Recovery.h"

#include "app/frmRescue.h"
#include "app/frmRestore.h"
#include "controls/Dialogs.h"
#include "shell/ErrorMessage.h"
#include "shell/Program.h"
#include "store/Backup.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

namespace app {

namespace {

QString databasePath()
{
    return shell::program().DatabasePath;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

void removeMaintenanceLeftovers()
{
    store::backup::removeLeftovers(databasePath());
    if (QFileInfo(compactTempPath()).absolutePath() != QFileInfo(databasePath()).absolutePath())
        store::backup::removeLeftovers(compactTempPath());
}

void makeDailyBackup(QWidget* parent)
{
    try {
        store::backup::makeDailyIfDue(databasePath());
    } catch (const store::StoreError& e) {
        controls::MsgBox(QStringLiteral("Today's backup of the wedding file could not be made.\n\n%1")
                             .arg(e.description()),
                         controls::mb::Exclamation | controls::mb::OKOnly, QStringLiteral("Orvane"), parent);
    }
}

QString listName(const QString& table)
{
    static const QHash<QString, QString> names{
        {"Guests", "the guest list"},
        {"Checklist", "the checklist"},
        {"Expenses", "the expenses"},
        {"Vendors", "the vendor list"},
        {"Tables", "the seating tables"},
        {"BudgetPlan", "the budget plan"},
        {"CityList", "the list of cities"},
        {"StateList", "the list of states"},
        {"Tips", "the tips"},
        {"General", "the general information"},
    };
    return names.value(table, QStringLiteral("the table %1").arg(table));
}

QString repairMessage(const store::Workspace::RepairReport& report, const QString& keptOriginal)
{
    if (report.nothingLost())
        return QStringLiteral("Database has been repaired!");
    const QLocale locale;
    QStringList lines;
    for (const store::Workspace::TableLoss& loss : report.losses) {
        if (loss.lostKnown)
            lines << QStringLiteral("- %1 %2 from %3")
                         .arg(locale.toString(loss.lost),
                              loss.lost == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                              listName(loss.table));
        else
            lines << QStringLiteral("- some entries from %1 (how many could not be counted)")
                         .arg(listName(loss.table));
    }
    QString text = QStringLiteral(
                       "The database has been repaired, but some entries could not be read and are "
                       "missing now:\n") +
                   lines.join('\n');
    if (!keptOriginal.isEmpty())
        text += QStringLiteral("\n\nThe damaged file, as it was before the repair, is kept as\n%1")
                    .arg(shown(keptOriginal));
    return text;
}

QString repairWeddingFile()
{
    removeMaintenanceLeftovers();
    const QString kept = store::backup::make(databasePath(), store::backup::Reason::Repair);
    return repairMessage(store::Workspace::repairDatabase(databasePath()), kept);
}

namespace {

// Lets the user pick a backup; empty when cancelled or there is none.
QString chooseBackup(QWidget* parent)
{
    frmRestore window(store::backup::list(databasePath()), parent);
    if (controls::ShowModal(&window) != QDialog::Accepted)
        return QString();
    return window.chosenPath();
}

void restoreChosen(const QString& backup)
{
    removeMaintenanceLeftovers();
    store::backup::restore(databasePath(), backup);
}

}  // namespace

void restoreFromBackup(const MaintenanceHooks& hooks, QWidget* parent)
{
    const QString backup = chooseBackup(parent);
    if (backup.isEmpty())
        return;
    bool restored = false;
    try {
        if (hooks.beforeClose)
            hooks.beforeClose();
        shell::workspace().close();
        restoreChosen(backup);
        restored = true;
    } catch (const store::StoreError& e) {
        shell::showError(e, parent);
    }
    // The program goes on with whatever file is there now: the restored one, or the old one
    // when restoring failed.
    try {
        shell::workspace().openDatabase(databasePath());
        if (hooks.afterReopen)
            hooks.afterReopen();
    } catch (const store::StoreError& e) {
        shell::showError(e, parent);
        return;
    }
    if (restored)
        controls::MsgBox(QStringLiteral("The backup has been restored."), controls::mb::OKOnly, QString(),
                         parent);
}

bool offerRecovery(const store::StoreError& failure)
{
    for (;;) {
        const bool exists = QFileInfo::exists(databasePath());
        const bool hasBackups = !store::backup::list(databasePath(), false).empty();
        if (!exists && !hasBackups)
            return false;  // nothing to repair and nothing to go back to
        frmRescue rescue(failure.description(), exists, hasBackups);
        const int choice = controls::ShowModal(&rescue);
        if (choice != frmRescue::Repair && choice != frmRescue::Restore)
            return false;
        try {
            if (choice == frmRescue::Repair && exists) {
                controls::MsgBox(repairWeddingFile(), controls::mb::OKOnly);
                return true;
            }
            if (choice == frmRescue::Restore && hasBackups) {
                const QString backup = chooseBackup(nullptr);
                if (!backup.isEmpty()) {
                    restoreChosen(backup);
                    return true;
                }
            }
        } catch (const store::StoreError& e) {
            shell::showError(e);
        }
    }
}

}  // namespace app
