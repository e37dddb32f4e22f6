// The hourglass: shown while the program works, never while it waits for the user.
//
//     { controls::WaitCursor wait; rows->setSort(...); }   // for the length of a block
//     controls::showBusyUntilIdle();   // from an event that starts work others finish
//
// A message box, an input box or a modal window shown through controls/Dialogs.h always
// shows the normal pointer, even inside a WaitCursor's block.
#pragma once

namespace controls {

// Shows the hourglass for as long as it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Shows the hourglass until the program next waits for input: it goes as soon as the
// event loop runs again (the window waiting for keys, or a message box), or at endBusy().
// Calling it again before then changes nothing.
void showBusyUntilIdle();
void endBusy();

// While it lives, the pointer is the normal arrow whatever hourglass is on (used by the
// message and input boxes and modal windows, which wait for the user).
class NormalPointer {
public:
    NormalPointer();
    ~NormalPointer();
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    bool pushed_ = false;
};

}  // namespace controls
