#include "app/Maintenance.h"
#include "shell/Paths.h"

#include "app/Recovery.h"
#include "app/Startup.h"
#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "store/Backup.h"
#include "store/Layout.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace app {

namespace {

using controls::mb::OKOnly;

const QChar LF(10);
const QChar CR(13);

bool confirmed(const QString& prompt, const QString& title, QWidget* parent)
{
    return controls::MsgBox(prompt, controls::mb::Question | controls::mb::YesNo, title, parent) ==
           controls::mb::Yes;
}

void closeDatabase(const MaintenanceHooks& hooks)
{
    if (hooks.beforeClose)
        hooks.beforeClose();
    shell::workspace().close();
}

void reopenDatabase(const MaintenanceHooks& hooks)
{
    store::upgradeLayout(shell::workspace().openDatabase(shell::program().DatabasePath));
    if (hooks.afterReopen)
        hooks.afterReopen();
}

// Replaces target by source in one step: the database is never missing under its name.
void replaceFile(const QString& source, const QString& target)
{
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        throw store::StoreError(store::err::IoError, QStringLiteral("Could not replace the database file: %1")
                                                         .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

void removeLeftover(const QString& path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw store::StoreError(store::err::IoError,
                                QStringLiteral("Could not delete the temporary file %1.").arg(path));
}

// One message per error the engine recorded; the error caught when it recorded none.
void reportFailure(const QString& headline, const store::StoreError& caught, QWidget* parent)
{
    std::vector<store::StoreError> errors = shell::workspace().errors();
    if (errors.empty())
        errors.push_back(caught);
    for (const store::StoreError& e : errors) {
        controls::MsgBox(headline + CR + QStringLiteral("Error number: ") + QString::number(e.number()) + CR +
                             e.description(),
                         OKOnly, QString(), parent);
    }
}

// After a failure the program keeps working on whatever file is still there.
void reopenIfPossible(const MaintenanceHooks& hooks)
{
    if (shell::workspace().database() || !QFileInfo::exists(shell::program().DatabasePath))
        return;
    try {
        reopenDatabase(hooks);
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reopening the wedding file after maintenance", ignored);
        // The file is beyond opening; the failure has been reported already.
    }
}

// Runs a step on the closed database; the step returns the message that reports success.
template <typename Step>
void runMaintenance(const MaintenanceHooks& hooks, const QString& failureHeadline, QWidget* parent, Step step)
{
    QString doneText;
    try {
        shell::workspace().clearErrors();
        closeDatabase(hooks);
        doneText = step();
        reopenDatabase(hooks);
    } catch (const store::StoreError& e) {
        reportFailure(failureHeadline, e, parent);
        reopenIfPossible(hooks);
        return;
    }
    controls::MsgBox(doneText, OKOnly, QString(), parent);
}

}  // namespace

QString compactPrompt()
{
    return QStringLiteral(
               "As you change data in a database, the database file can become fragmented and use more disk "
               "space than is necessary. Periodically, you can use the Compact Database option to compact "
               "your "
               "database to defragment the database file. The compacted database is usually smaller and "
               "often "
               "runs faster.") +
           LF + LF + QStringLiteral("Do you wish to compact the database?");
}

QString repairPrompt()
{
    return QStringLiteral(
               "This method attempts to repair a database that was marked as possibly corrupt by an "
               "incomplete "
               "write operation. This can occur if an application is closed unexpectedly because of a power "
               "outage or computer hardware problem.  After repairing a database, it's also a good idea to "
               "compact it using Compact Database option to defragment the file and to recover disk space.") +
           LF + LF + QStringLiteral("Do you wish to repair the database?");
}

QString compactTempPath()
{
    return shell::compactTempPath();
}

void compactDatabase(const MaintenanceHooks& hooks, QWidget* parent)
{
    if (!confirmed(compactPrompt(), QStringLiteral("Compact Database?"), parent))
        return;
    runMaintenance(hooks, QStringLiteral("Compact unsuccessful!"), parent, [] {
        removeMaintenanceLeftovers();
        store::backup::make(shell::program().DatabasePath, store::backup::Reason::Compaction);
        const QString temp = compactTempPath();
        removeLeftover(temp);
        store::Workspace::compactDatabase(shell::program().DatabasePath, temp);
        replaceFile(temp, shell::program().DatabasePath);
        return QStringLiteral("Database has been compacted!");
    });
}

void repairDatabase(const MaintenanceHooks& hooks, QWidget* parent)
{
    if (!confirmed(repairPrompt(), QStringLiteral("Repair Database?"), parent))
        return;
    // The original is kept as a backup first; the message tells what the repair could not save.
    runMaintenance(hooks, QStringLiteral("Repair unsuccessful!"), parent, [] { return repairWeddingFile(); });
}

}  // namespace app
