// A disk that fills up on demand: while a FullDisk is alive, every write SQLite makes to a
// file fails with "database or disk is full", as on a full disk. Reads and syncs go on.
// It works through an SQLite VFS installed as the default, so it reaches every connection the
// program opens, and nothing outside SQLite (plain file copies are not affected).
#pragma once

namespace testsupport {

class FullDisk {
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    // Installs the VFS; connections opened before this call are not affected, so call it
    // before the program opens its files.
    static void prepare();
    // Writes that failed while this disk was full.
    static int refusedWrites();
};

}  // namespace testsupport
