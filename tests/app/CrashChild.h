// What the crash tests' child program shares between its scenarios: how it reports
// progress, and the seating scenarios.
#pragma once

#include <QtGlobal>

class QWidget;

namespace controls {
class FakeDialogs;
}

namespace crashchild {

// A step finished: `value` (never negative) on a line of its own; then a short pause.
void report(qint64 value);
// A step is about to write (a line "-1"): a kill after it may have caught the step's commit.
void stepBegins();

// Seats and unseats parties and seats everyone by plan, reporting the seating's fingerprint.
int runSeating(controls::FakeDialogs& dialogs);
// Adds, changes and deletes tables through the seating manager and its table editor, and
// seats a party at the newest table, reporting the seating's fingerprint.
int runTables(controls::FakeDialogs& dialogs);
// Drives a table editor the tables scenario opened; false for any other window.
bool driveTableEditor(QWidget* window);

}  // namespace crashchild
