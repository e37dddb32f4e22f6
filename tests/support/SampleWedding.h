// The sample wedding for tests, screenshots and benchmarks: one CSV file per table
// (first row = field names, RFC 4180 quoting, UTF-8; Yes/No as Yes or No, amounts as
// decimal text with a point, dates as ISO text, an empty cell = Null).
//
//   testsupport::ProgramDir dir;
//   store::Database& db = store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
//   testsupport::loadSampleWedding(db);   // 40 guest parties, 6 tables, 12 vendors, 20 expenses
#pragma once

#include "tests/support/TestSupport.h"

#include <QList>
#include <QStringList>

namespace store {
class Database;
}

namespace testsupport {

// The rows of a CSV file, header included. Throws std::runtime_error when it cannot be read.
QList<QStringList> readCsv(const QString& path);

// Appends every CSV file of `dir` to the table of the same name (Guests.csv -> Guests),
// converting each cell to the field's type. Returns the number of rows added.
// Throws store::StoreError or std::runtime_error.
int loadSampleWedding(store::Database& db, const QString& dir = sampleWeddingDir());

}  // namespace testsupport
