// Makes the delivered wedding database from its SQL text and puts a copy into the
// program directory when none is there yet.
//
//   mkdb build   <out.mdb> <file.sql>...   always writes <out.mdb> afresh from the files,
//                                           then adds the layout steps (store/LayoutSteps.h)
//   mkdb install <delivered.mdb> <target>  copies to <target> only when no such file exists
//
// "install" never replaces or changes an existing target: that file holds the user's
// wedding. Exit status 0 on success, 1 on any failure (with a message on stderr).
#include "store/LayoutSteps.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

void removeQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(fs::path(path.string() + "-journal"), ignored);
}

// Runs the SQL files in one transaction on a new database at dbPath and checks the result.
bool writeDatabase(const fs::path& dbPath, const std::vector<fs::path>& sqlFiles)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::cerr << "mkdb: cannot create " << dbPath << ": " << sqlite3_errmsg(db) << "\n";
        sqlite3_close(db);
        return false;
    }
    bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (const fs::path& file : sqlFiles) {
        if (!ok)
            break;
        std::string sql;
        if (!readFile(file, sql)) {
            std::cerr << "mkdb: cannot read " << file << "\n";
            ok = false;
            break;
        }
        char* message = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::cerr << "mkdb: " << file.string() << ": " << (message ? message : "error") << "\n";
            sqlite3_free(message);
            ok = false;
        }
    }
    // The later additions to the layout, exactly as an older file receives them, and the
    // version that says the file has them all.
    for (const store::layout::Step& step : store::layout::steps()) {
        if (!ok)
            break;
        char* message = nullptr;
        if (sqlite3_exec(db, step.sql, nullptr, nullptr, &message) != SQLITE_OK) {
            std::cerr << "mkdb: layout step " << step.version << ": " << (message ? message : "error")
                      << "\n";
            sqlite3_free(message);
            ok = false;
        }
    }
    const std::string version = "PRAGMA user_version = " + std::to_string(store::layout::latestVersion());
    ok = ok && sqlite3_exec(db, version.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;

    if (ok) {
        sqlite3_stmt* check = nullptr;
        ok = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
             sqlite3_step(check) == SQLITE_ROW &&
             std::string(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))) == "ok";
        sqlite3_finalize(check);
        if (!ok)
            std::cerr << "mkdb: integrity check of " << dbPath << " failed\n";
    }
    if (sqlite3_close(db) != SQLITE_OK)
        ok = false;
    return ok;
}

int build(const fs::path& out, const std::vector<fs::path>& sqlFiles)
{
    // The old file goes first, so a failed run leaves no stale database behind.
    removeQuietly(out);
    const fs::path temp = out.string() + ".tmp";
    removeQuietly(temp);
    std::error_code ec;
    fs::create_directories(out.parent_path(), ec);

    if (!writeDatabase(temp, sqlFiles)) {
        removeQuietly(temp);
        return 1;
    }
    fs::rename(temp, out, ec);
    if (ec) {
        std::cerr << "mkdb: cannot rename " << temp << " to " << out << ": " << ec.message() << "\n";
        removeQuietly(temp);
        return 1;
    }
    return 0;
}

int install(const fs::path& delivered, const fs::path& target)
{
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) {
        std::cout << "mkdb: keeping the existing " << target.string() << "\n";
        return 0;
    }
    if (!fs::is_regular_file(delivered, ec)) {
        std::cerr << "mkdb: " << delivered << " does not exist\n";
        return 1;
    }
    fs::create_directories(target.parent_path(), ec);

    // Copy beside the target, then link it into place: linking fails rather than
    // replacing a file that appeared in the meantime, and no half-written target is
    // ever visible under the real name.
    const fs::path temp = target.string() + ".tmp";
    fs::remove(temp, ec);
    if (!fs::copy_file(delivered, temp, ec)) {
        std::cerr << "mkdb: cannot copy " << delivered << ": " << ec.message() << "\n";
        fs::remove(temp, ec);
        return 1;
    }
    fs::create_hard_link(temp, target, ec);
    if (ec && ec != std::errc::file_exists && !fs::exists(fs::symlink_status(target))) {
        // A file system without hard links: renaming is the next best thing.
        fs::rename(temp, target, ec);
    }
    std::error_code removeError;
    fs::remove(temp, removeError);
    if (ec) {
        if (ec == std::errc::file_exists) {
            std::cout << "mkdb: keeping the existing " << target.string() << "\n";
            return 0;
        }
        std::cerr << "mkdb: cannot create " << target << ": " << ec.message() << "\n";
        return 1;
    }
    std::cout << "mkdb: installed " << target.string() << "\n";
    return 0;
}

int usage()
{
    std::cerr << "usage: mkdb build <out.mdb> <file.sql>...\n"
                 "       mkdb install <delivered.mdb> <target.mdb>\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "build")
        return build(args[1], std::vector<fs::path>(args.begin() + 2, args.end()));
    if (args.size() == 3 && args[0] == "install")
        return install(args[1], args[2]);
    return usage();
}
