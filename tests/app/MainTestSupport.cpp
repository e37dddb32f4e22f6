#include "tests/app/MainTestSupport.h"
#include "shell/Paths.h"

#include "app/Startup.h"
#include "app/frmMain.h"
#include "shell/Program.h"
#include "shell/Sound.h"
#include "shell/StartDoc.h"

#include <QApplication>
#include <QDialog>

#include <sqlite3.h>

#include <stdexcept>

namespace apptest {

namespace {

struct Connection {
    explicit Connection(const QString& path)
    {
        if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path.toStdString());
    }
    ~Connection() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

}  // namespace

void execSql(const QString& path, const QString& sql)
{
    Connection c(path);
    char* message = nullptr;
    if (sqlite3_exec(c.db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

QStringList queryColumn(const QString& path, const QString& sql)
{
    Connection c(path);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(c.db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(c.db));
    QStringList values;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        values << (text ? QString::fromUtf8(text) : QString());
    }
    sqlite3_finalize(st);
    return values;
}

QVariant queryValue(const QString& path, const QString& sql)
{
    const QStringList values = queryColumn(path, sql);
    return values.isEmpty() || values.first().isNull() ? QVariant() : QVariant(values.first());
}

QMap<QString, QString> dueDates(const QString& databasePath)
{
    QMap<QString, QString> result;
    const QStringList items = queryColumn(databasePath, "SELECT CheckItem FROM Checklist ORDER BY rowid");
    const QStringList dates =
        queryColumn(databasePath, "SELECT substr(DueDate, 1, 10) FROM Checklist ORDER BY rowid");
    for (int i = 0; i < items.size(); ++i)
        result[items[i]] = dates[i];
    return result;
}

ProgramRun::ProgramRun()
{
    shell::setProgramDirectory(dir.path());
    controls::setModalHook([this](QWidget* w) {
        modals << w->objectName();
        w->show();
        if (onModal)
            onModal(w);
        else
            w->close();
        auto* dialog = qobject_cast<QDialog*>(w);
        return dialog ? dialog->result() : 0;
    });
    shell::setSoundPlayer([this](const QByteArray& wave) {
        sounds << (wave == shell::soundResource(shell::ClickedSoundType, shell::ClickedSoundId) ? "click"
                                                                                                : "applause");
    });
    shell::setUrlOpener([this](const QUrl& url) {
        addresses << url;
        return true;
    });
}

ProgramRun::~ProgramRun()
{
    shutDownProgram();
    controls::setModalHook({});
    shell::setSoundPlayer({});
    shell::setUrlOpener({});
    shell::setProgramDirectory(QString());
}

void ProgramRun::setNames(const QString& bride, const QString& groom)
{
    execSql(databasePath(),
            QStringLiteral("UPDATE General SET bridesname = '%1', groomsname = '%2'").arg(bride, groom));
}

bool ProgramRun::start()
{
    const bool started = Main();
    if (started && frmMain::instance()) {
        QApplication::setActiveWindow(frmMain::instance());
    }
    return started;
}

frmMain& ProgramRun::main() const
{
    if (!frmMain::instance())
        throw std::runtime_error("the main window is not loaded");
    return *frmMain::instance();
}

}  // namespace apptest
