// The raw SQLite connection of an open database. Only the store's own code uses it, and the
// tests, benchmarks and tools that set up files in ways the store's API refuses (the floor
// check keeps it so): everything else reads and writes through Database and ReadQuery.
#pragma once

struct sqlite3;

namespace store {

class Database;

sqlite3* handleOf(const Database& db);

}  // namespace store
