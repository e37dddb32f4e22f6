// A program started in-process on a temporary program directory, with the dialog seam,
// modal windows, sounds and web addresses recorded.
#pragma once

#include "controls/Dialogs.h"
#include "tests/support/TestSupport.h"

#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class frmMain;

namespace apptest {

// Runs SQL on a database file directly (preparing and checking files around the program).
void execSql(const QString& path, const QString& sql);
// The first column of the first row of a query, or a null QVariant without rows.
QVariant queryValue(const QString& path, const QString& sql);
QStringList queryColumn(const QString& path, const QString& sql);

class ProgramRun {
public:
    ProgramRun();
    ~ProgramRun();

    // Gives both names to the General row, so that the program starts as a later run.
    void setNames(const QString& bride, const QString& groom);
    // Runs Main(); true when the main window is shown.
    bool start();
    frmMain& main() const;

    QString databasePath() const { return dir.databasePath(); }

    testsupport::ProgramDir dir{true};
    controls::ScopedFakeDialogs dialogs;
    QStringList modals;     // objectName of every window shown modally, in order
    QStringList sounds;     // "applause" / "click" per sound played
    QList<QUrl> addresses;  // opened by StartDoc
    // Drives a modal window (it is shown first); default: closes it at once.
    std::function<void(QWidget*)> onModal;
};

// The due dates of Checklist keyed by task, as ISO dates (empty for Null).
QMap<QString, QString> dueDates(const QString& databasePath);

}  // namespace apptest
