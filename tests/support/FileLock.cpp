#include "tests/support/FileLock.h"

#include <sqlite3.h>

namespace testsupport {

FileLock::FileLock(const QString& databasePath)
{
    if (sqlite3_open(databasePath.toUtf8().constData(), &db_) == SQLITE_OK)
        locked_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
}

FileLock::~FileLock()
{
    release();
    sqlite3_close(db_);
}

void FileLock::release()
{
    if (locked_)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    locked_ = false;
}

}  // namespace testsupport
