// The start-up procedure of the program.
#pragma once

#include <QString>

// Runs the start-up sequence: opens wedding.mdb in the program directory, shows the splash
// while the tips load, loads and shows the main window. When the database cannot be opened
// (or the tips or the main window cannot be loaded) it shows "Can't open database." and
// returns false: the program must end at once.
bool Main();
// Closes the main window and the database and forgets the program-wide values, so that
// Main() can run again in the same process (tests).
void shutDownProgram();
// Set in the environment, the program closes the modal windows of a first run as soon as they
// are shown and quits as soon as its main window has been shown (start-up benchmark, the
// installed program's test).
inline constexpr const char* QuitWhenShownVariable = "ORVANE_QUIT_WHEN_SHOWN";
