// A small database for the controls' tests, made with SQLite directly in the column types
// the store declares, and opened in the default workspace for the test's lifetime.
#pragma once

#include "store/Store.h"

#include <QString>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <stdexcept>

namespace controlstest {

// People: one row per person; CityList: names offered by a combo.
inline const char* const PeopleSchema = R"(
CREATE TABLE People (
    Name   TEXT(20) COLLATE NOCASE,
    City   TEXT(50) COLLATE NOCASE,
    Phone  TEXT(30),
    Active YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    Amount CURRENCY,
    Qty    NUMBER,
    Born   DATETIME,
    Notes  TEXT
);
CREATE INDEX Name ON People (Name);
CREATE TABLE CityList (City TEXT(50) COLLATE NOCASE NOT NULL);
CREATE UNIQUE INDEX City ON CityList (City);
INSERT INTO People (Name, City, Active, Amount, Qty, Born) VALUES
    ('Carol', 'Boston', 1, 125000, 4, '1990-03-05 00:00:00'),
    ('Alice', 'Austin', 0, NULL, NULL, NULL),
    ('Bob', 'Chicago', 1, 5000, 1, '1985-12-24 14:30:00');
INSERT INTO CityList (City) VALUES ('Austin'), ('Boston'), ('Chicago');
)";

class TestDb {
public:
    explicit TestDb(const QString& sql = PeopleSchema)
    {
        path_ = dir_.path() + "/test.mdb";
        sqlite3* db = nullptr;
        if (sqlite3_open(path_.toUtf8().constData(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot create the test database");
        char* message = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
        const std::string failure = message ? message : "";
        sqlite3_free(message);
        sqlite3_close(db);
        if (rc != SQLITE_OK)
            throw std::runtime_error("test database: " + failure);
        store::Workspace::defaultWorkspace().openDatabase(path_);
    }
    ~TestDb() { store::Workspace::defaultWorkspace().close(); }

    QString path() const { return path_; }
    store::Database& db() const { return *store::Workspace::defaultWorkspace().database(); }
    // Runs SQL straight on the file (a second connection), e.g. to fill many rows.
    void exec(const QString& sql) const { db().execute(sql); }

    // A field of the People row with a name, as stored in the file (read through a fresh
    // snapshot, not through the set under test); Null when there is no such row.
    QVariant stored(const QString& name, const QString& field) const
    {
        auto rs = db().openRecordset("SELECT * FROM People WHERE Name = '" + name + "'",
                                     store::RecordsetType::Snapshot);
        return rs->eof() ? QVariant() : rs->value(field);
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

}  // namespace controlstest
