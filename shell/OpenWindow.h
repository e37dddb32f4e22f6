// The one way a window of the program opens: it loads what it shows (Form_Load), and a
// failure to load is shown in the common "Error #" form, after which the window is not shown.
//
//     frmReplies window(parent);
//     shell::loadAndShowModal(window, parent);
#pragma once

#include "controls/Dialogs.h"
#include "shell/ErrorMessage.h"
#include "store/StoreError.h"

#include <QWidget>

namespace shell {

// Loads the window and shows it modally; false (the error shown) when it could not load.
template <typename Window>
bool loadAndShowModal(Window& window, QWidget* parent)
{
    try {
        window.Form_Load();
    } catch (const store::StoreError& e) {
        showError(e, parent);
        return false;
    }
    controls::ShowModal(&window);
    return true;
}

}  // namespace shell
