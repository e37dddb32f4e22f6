// The start-up procedure of the program.
#pragma once

#include <QString>

// Runs the start-up sequence; returns false when the program must end at once.
bool Main();
// Points the program directory elsewhere (tests) before Main() runs.
void setProgramDirectory(const QString& directory);
QString programDirectory();
