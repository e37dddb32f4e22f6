// A small wedding database made directly through sqlite3 with the store's declared column
// types, opened in the default workspace for each test.
#pragma once

#include "store/Store.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace storetest {

// The tables the store tests use: a subset of the program's schema with the same types.
extern const char* const kSchema;

// Creates a database file at path from SQL text (sqlite3_exec), replacing any file there.
void createDatabase(const QString& path, const QString& sql);
// Runs SQL on a file through a separate raw connection (to look at what is stored).
void rawExec(const QString& path, const QString& sql);
// The first column of the first row of a query run on a separate raw connection.
QString rawValue(const QString& path, const QString& sql);

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a guest through a raw statement; returns its rowid.
    qint64 addGuest(const QString& prefix, const QString& first, const QString& last, int tableId = 0,
                    int invited = 1);

    store::Database& db() { return *db_; }
    store::Workspace& ws() { return store::Workspace::defaultWorkspace(); }

    QTemporaryDir dir_;
    QString path_;
    store::Database* db_ = nullptr;
};

// Expects a store error with the given number from the statement.
#define EXPECT_STORE_ERROR(statement, expectedNumber)                                            \
    do {                                                                                         \
        try {                                                                                    \
            statement;                                                                           \
            ADD_FAILURE() << "expected store error " << (expectedNumber) << " from " #statement; \
        } catch (const store::StoreError& e) {                                                   \
            EXPECT_EQ(e.number(), (expectedNumber)) << e.description().toStdString();            \
            EXPECT_FALSE(e.description().isEmpty());                                             \
        }                                                                                        \
    } while (0)

}  // namespace storetest
