#include "shell/Tips.h"

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "shell/frmTip.h"
#include "store/ReadQuery.h"
#include "store/Store.h"

namespace shell {

QString tipText(int number)
{
    const QStringList& tips = program().TipList;
    return number >= 1 && number <= tips.size() ? tips.at(number - 1) : QString();
}

void showTip(int number)
{
    program().TipNumber = number;
    frmTip window;
    controls::ShowModal(&window);
}

void LoadTips(store::Database& database)
{
    // One read-only statement in stored order: start-up reads the tips before the main window
    // shows, and a record set's keyed reading would cost more than the few rows are worth.
    store::ReadQuery tips(database, QStringLiteral("SELECT tip FROM Tips ORDER BY rowid"));
    while (tips.next())
        program().TipList.append(tips.value(0, store::FieldType::Text).toString());
    program().GiftTipPending = true;
}

}  // namespace shell
