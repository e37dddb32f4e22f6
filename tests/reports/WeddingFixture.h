// A program directory with the report templates and the sample wedding, completed with
// what the other windows would have written: the couple's names, expense totals and
// amounts owing, envelope label lines, due dates and done marks.
#pragma once

#include "reports/ReportPages.h"
#include "shell/Printing.h"
#include "store/Store.h"
#include "tests/reports/QtPrinters.h"
#include "tests/support/SampleWedding.h"

#include <gtest/gtest.h>

#include <memory>

// Whether this machine has a printer set up. Asked of the print module, which must load: a
// module that fails to load is no reason to skip.
inline bool machineHasPrinter()
{
    QString why;
    const bool has = shell::newPrinter(shell::PrinterUse::Default, &why) != nullptr;
    EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    return has;
}

class WeddingFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    store::Database& db() { return *db_; }
    QString templatePath(const QString& name) const { return dir_->file(name); }
    // Runs one SQL statement on the wedding directly (setting up a case).
    void sql(const QString& statement);
    qint64 number(const QString& query);      // first column of the first row
    QStringList texts(const QString& query);  // first column of every row

    // The report laid out from the template of the program directory.
    reports::ReportPages report(const QString& templateName, const QString& formula = QString(),
                                const QString& detailFont = QString());

    std::unique_ptr<testsupport::ProgramDir> dir_;
    store::Database* db_ = nullptr;
};

// Every text of every page, page after page, line by line.
QStringList allLines(const reports::ReportPages& pages);
