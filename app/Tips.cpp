#include "app/Tips.h"

#include "app/Program.h"
#include "app/frmTip.h"
#include "controls/Dialogs.h"

namespace app {

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

}  // namespace app
