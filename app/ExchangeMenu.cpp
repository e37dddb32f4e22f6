#include "app/ExchangeMenu.h"

#include "app/frmImportExpenses.h"
#include "controls/Dialogs.h"
#include "exchange/CsvFile.h"
#include "exchange/Export.h"
#include "exchange/frmExport.h"
#include "exchange/frmImportGuests.h"
#include "guests/MemberImport.h"
#include "guests/ReplyImport.h"
#include "guests/frmReplies.h"
#include "shell/ErrorMessage.h"
#include "shell/Program.h"

#include <QDir>
#include <QMenu>

namespace app {

void importRepliesFrom(const QString& path, QWidget* owner)
{
    const QString title = QStringLiteral("Import Replies");
    try {
        const exchange::CsvTable table = exchange::readCsvFile(path);
        QList<QStringList> rows = table.rows.allAsRead();
        for (QStringList& row : rows)
            for (QString& cell : row)
                cell = exchange::unguardedText(cell);
        store::Database& db = shell::database();
        const guests::ReplyReview review =
            guests::reviewReplies(guests::loadPeople(db), table.headers, rows, table.rowNumbers);
        if (review.matched.empty()) {
            controls::MsgBox(QStringLiteral("No row of the file matches a member; nothing was changed."),
                             controls::mb::OKOnly | controls::mb::Exclamation, title, owner,
                             guests::reviewText(review));
            return;
        }
        if (controls::MsgBox(QStringLiteral("Apply the replies of %1 rows?").arg(review.matched.size()),
                             controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2,
                             title, owner, guests::reviewText(review)) != controls::mb::Yes)
            return;
        const guests::ReplyImportResult result = guests::importReplies(db, review);
        controls::MsgBox(QStringLiteral("The replies of %1 rows were applied.").arg(result.applied),
                         controls::mb::OKOnly, title, owner,
                         QStringLiteral("The wedding file as it was is kept as %1.")
                             .arg(QDir::toNativeSeparators(result.backupPath)));
    } catch (const exchange::ExchangeError& e) {
        controls::MsgBox(e.message(), controls::mb::OKOnly | controls::mb::Exclamation, title, owner);
    } catch (const store::StoreError& e) {
        shell::showError(e, owner);
    }
}

void addExchangeItems(QMenu* menu, QWidget* owner)
{
    auto item = [menu, owner](const char* name, const QString& caption, auto open) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        QObject::connect(action, &QAction::triggered, owner, [owner, open] { open(owner); });
    };
    item("mnuImportGuests", QStringLiteral("&Import Guests..."),
         [](QWidget* w) { exchange::showImportGuests(w, &guests::memberImport()); });
    item("mnuImportExpenses", QStringLiteral("Import Ex&penses..."),
         [](QWidget* w) { showImportExpenses(w); });
    item("mnuImportReplies", QStringLiteral("Import &Replies..."), [](QWidget* w) {
        const QString path =
            controls::GetOpenFileName(w, QStringLiteral("Import Replies"), QDir::homePath(),
                                         QStringLiteral("Replies (*.csv *.txt);;All files (*)"));
        if (!path.isEmpty())
            importRepliesFrom(path, w);
    });
    item("mnuReplies", QStringLiteral("Rep&lies..."), [](QWidget* w) { showRepliesWindow(w); });
    item("mnuExport", QStringLiteral("&Export..."),
         [](QWidget* w) { exchange::showExport(w, exchange::frmExport::Mode::Lists); });
    item("mnuExportCalendar", QStringLiteral("Export to &Calendar..."),
         [](QWidget* w) { exchange::showExport(w, exchange::frmExport::Mode::Calendar); });
    menu->addSeparator()->setObjectName(QStringLiteral("mnuExchangeBar"));
}

}  // namespace app
