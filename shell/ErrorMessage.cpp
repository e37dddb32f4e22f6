#include "shell/ErrorMessage.h"

#include "controls/Dialogs.h"
#include "store/StoreError.h"

namespace shell {

void showError(const store::StoreError& error, QWidget* parent)
{
    showError(error, QString(), parent);
}

void showError(const store::StoreError& error, const QString& lead, QWidget* parent, int style)
{
    const QString text =
        lead.isEmpty() ? error.description() : lead + QStringLiteral("\n\n") + error.description();
    controls::MsgBox(text, controls::mb::OKOnly | style,
                     QStringLiteral("Error #") + QString::number(error.number()), parent);
}

}  // namespace shell
