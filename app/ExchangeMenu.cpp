#include "app/ExchangeMenu.h"

#include "app/frmImportExpenses.h"
#include "exchange/frmExport.h"
#include "exchange/frmImportGuests.h"

#include <QMenu>

namespace app {

void addExchangeItems(QMenu* menu, QWidget* owner)
{
    auto item = [menu, owner](const char* name, const QString& caption, auto open) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        QObject::connect(action, &QAction::triggered, owner, [owner, open] { open(owner); });
    };
    item("mnuImportGuests", QStringLiteral("&Import Guests..."),
         [](QWidget* w) { exchange::showImportGuests(w); });
    item("mnuImportExpenses", QStringLiteral("Import Ex&penses..."),
         [](QWidget* w) { showImportExpenses(w); });
    item("mnuExport", QStringLiteral("&Export..."),
         [](QWidget* w) { exchange::showExport(w, exchange::frmExport::Mode::Lists); });
    item("mnuExportCalendar", QStringLiteral("Export to &Calendar..."),
         [](QWidget* w) { exchange::showExport(w, exchange::frmExport::Mode::Calendar); });
    menu->addSeparator()->setObjectName(QStringLiteral("mnuExchangeBar"));
}

}  // namespace app
