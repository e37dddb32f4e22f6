// The common error message of the windows: the error's description as text, "Error #" and
// the number as title, an OK button.
#pragma once

class QWidget;

namespace store {
class StoreError;
}

namespace shell {

void showError(const store::StoreError& error, QWidget* parent = nullptr);

}  // namespace shell
