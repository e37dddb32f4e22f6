#include "shell/ErrorMessage.h"

#include "controls/Dialogs.h"
#include "store/StoreError.h"

namespace shell {

void showError(const store::StoreError& error, QWidget* parent)
{
    controls::MsgBox(error.description(), controls::mb::OKOnly,
                     QStringLiteral("Error #") + QString::number(error.number()), parent);
}

}  // namespace shell
