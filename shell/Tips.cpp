#include "shell/Tips.h"

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "shell/frmTip.h"

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

}  // namespace shell
