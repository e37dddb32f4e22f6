#include "controls/ConfirmDelete.h"

#include "controls/Dialogs.h"
#include "store/StoreError.h"

namespace controls {

bool confirmDelete(const QString& name, QWidget* parent)
{
    return MsgBox(QStringLiteral("Do you want to delete ") + name,
                  mb::YesNo | mb::Question | mb::DefaultButton2, QStringLiteral("Confirm Delete"),
                  parent) == mb::Yes;
}

void deleteShowingErrors(const std::function<void()>& remove, QWidget* parent)
{
    try {
        remove();
    } catch (const store::StoreError& e) {
        MsgBox(e.description(), mb::OKOnly, QStringLiteral("Delete Error"), parent);
    }
}

}  // namespace controls
