// Another program holding the wedding file locked: a second connection with an exclusive
// transaction open, so that every write of the program fails as "locked" until release().
#pragma once

#include <QString>

struct sqlite3;

namespace testsupport {

class FileLock {
public:
    explicit FileLock(const QString& databasePath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return locked_; }
    void release();

private:
    sqlite3* db_ = nullptr;
    bool locked_ = false;
};

}  // namespace testsupport
