// The one way a window of the program opens: it loads what it shows (Form_Load), and a
// failure to load is shown in the common "Error #" form, after which the window is not shown.
// (The checklist, the expense table and the seating manager are the exceptions the program
// has always had: their opening ends silently on a failure, which goes to the log.)
//
//     frmReplies window(parent);
//     shell::loadAndShowModal(window, parent);
//     shell::loadAndShowModal(window, parent, [&] { window.Data1->setBookmark(key); });
//     shell::loadAndShowModal(window, parent, [] {}, {"Can't open the vendor list.", mb::Exclamation});
#pragma once

#include "controls/Dialogs.h"
#include "shell/ErrorMessage.h"
#include "store/StoreError.h"

#include <QWidget>

namespace shell {

// What the message of a failed load says first, and its icon (controls::mb); none: the plain
// common message.
struct LoadFailure {
    QString lead;
    int style = 0;
};

// Loads the window, runs `prepare` (what the caller sets up on the loaded window, such as the
// record to show first) and shows it modally; false (the error shown) when either failed.
template <typename Window, typename Prepare>
bool loadAndShowModal(Window& window, QWidget* parent, Prepare&& prepare, const LoadFailure& failure = {})
{
    try {
        window.Form_Load();
        prepare();
    } catch (const store::StoreError& e) {
        if (failure.lead.isEmpty())
            showError(e, parent);
        else
            showError(e, failure.lead, parent, failure.style);
        return false;
    }
    controls::ShowModal(&window);
    return true;
}

template <typename Window>
bool loadAndShowModal(Window& window, QWidget* parent)
{
    return loadAndShowModal(window, parent, [] {});
}

}  // namespace shell
