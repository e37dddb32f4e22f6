#include "shell/Tips.h"

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "shell/frmTip.h"
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
    std::unique_ptr<store::Recordset> tips = database.openRecordset(QStringLiteral("Tips"));
    if (!tips->eof())
        tips->moveFirst();
    while (!tips->eof()) {
        program().TipList.append(tips->value(QStringLiteral("tip")).toString());
        tips->moveNext();
    }
    tips->close();
    program().GiftTipPending = true;
}

}  // namespace shell
