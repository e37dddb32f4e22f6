// Shared pieces of the import and export tests: the sample guest lists, temporary files,
// and a fresh wedding open in the default workspace.
#pragma once

#include "tests/support/TestSupport.h"

#include "store/Store.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace exchangetest {

// The folder of the sample guest lists (tests/data/imports).
QString importSamplesDir();

QByteArray fileBytes(const QString& path);

// A guest list with two broken rows: row 2 has a zero byte in its city, row 3 opens a
// quotation mark on line 3 that is never closed; row 4 is sound.
QByteArray brokenList();

class TempFile {
public:
    TempFile(const QString& name, const QByteArray& content);
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

// A copy of the delivered wedding opened in the default workspace; closed afterwards.
class WeddingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    store::Database& db() { return *db_; }
    QString path() const { return program_->databasePath(); }
    QString tempPath(const QString& name) const { return files_.filePath(name); }
    int guestCount();
    // Adds a party through SQL (first, last, address).
    void addParty(const QString& first, const QString& last, const QString& address = {});

    std::unique_ptr<testsupport::ProgramDir> program_;
    store::Database* db_ = nullptr;
    QTemporaryDir files_;
};

}  // namespace exchangetest
