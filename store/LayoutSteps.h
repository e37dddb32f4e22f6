// The steps that bring a wedding file's layout up to date, oldest first. A file's layout
// version is its PRAGMA user_version: 0 for a file holding only the original tables, n after
// step n. The delivered file is made by running the same steps, so a new file and an upgraded
// old file end up with the same tables.
//
// Plain C++ (no Qt) so that the tool making the delivered file can run them too.
//
// Adding a step: append { next version, what it adds, its SQL } to the list in
// LayoutSteps.cpp. The SQL only adds: new tables (named so that they sort after Guests),
// indexes and triggers; it never changes or drops what is already there.
#pragma once

#include <vector>

namespace store::layout {

struct Step {
    int version;       // the version a file has after this step
    const char* what;  // what the step adds, in words (for messages and the backup's reason)
    const char* sql;   // one or more statements
};

// Every step, in version order (versions 1, 2, 3, ...).
const std::vector<Step>& steps();

// The version of a file that has every step.
int latestVersion();

// The tables every wedding file has had from the first layout on (version 0).
const std::vector<const char*>& originalTables();

}  // namespace store::layout
