// The common error message of the windows: the error's description as text, "Error #" and
// the number as title, an OK button. Every window shows a store failure through it.
#pragma once

#include <QString>

class QWidget;

namespace store {
class StoreError;
}

namespace shell {

void showError(const store::StoreError& error, QWidget* parent = nullptr);
// The same with what failed said first ("Can't open the vendor list."), a blank line before the
// description; style adds an icon of controls::mb (Exclamation, ...).
void showError(const store::StoreError& error, const QString& lead, QWidget* parent, int style = 0);

}  // namespace shell
