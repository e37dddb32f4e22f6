#include "controls/WaitCursor.h"

#include <QApplication>
#include <QTimer>

namespace controls {

namespace {

bool& busyUntilIdle()
{
    static bool shown = false;
    return shown;
}

}  // namespace

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void showBusyUntilIdle()
{
    if (busyUntilIdle())
        return;
    busyUntilIdle() = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A zero timer runs when control is back in an event loop: the program is waiting.
    QTimer::singleShot(0, qApp, [] { endBusy(); });
}

void endBusy()
{
    if (!busyUntilIdle())
        return;
    busyUntilIdle() = false;
    QApplication::restoreOverrideCursor();
}

NormalPointer::NormalPointer()
{
    // The hourglass of work that has now stopped goes for good; one of a block still
    // running is covered by the arrow.
    endBusy();
    if (!QApplication::overrideCursor())
        return;
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    pushed_ = true;
}

NormalPointer::~NormalPointer()
{
    if (pushed_)
        QApplication::restoreOverrideCursor();
}

}  // namespace controls
