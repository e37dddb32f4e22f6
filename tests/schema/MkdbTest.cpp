// The build tool that makes the delivered database and the program's copy of it.
#include "tests/schema/SqliteDb.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

int runMkdb(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(ORVANE_MKDB), args);
    if (!process.waitForFinished(30000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QStringList schemaFiles()
{
    const QString dir = testsupport::sourceDir() + "/store/schema/";
    return {dir + "schema.sql", dir + "content.sql"};
}

}  // namespace

TEST(Mkdb, InstallLeavesAnExistingDatabaseUntouched)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("bin/wedding.mdb");

    // First build: no database in the program directory yet, so it gets the delivered one.
    ASSERT_EQ(runMkdb({"install", testsupport::deliveredDatabase(), target}), 0);
    EXPECT_EQ(contents(target), contents(testsupport::deliveredDatabase()));

    // The user's wedding is in it now; a rebuild must leave it exactly as it is.
    {
        schematest::SqliteDb db(target);
        db.exec("UPDATE General SET bridesname = 'Marker'");
    }
    const QByteArray userData = contents(target);
    ASSERT_EQ(runMkdb({"install", testsupport::deliveredDatabase(), target}), 0);
    EXPECT_EQ(contents(target), userData);
    EXPECT_EQ(schematest::SqliteDb(target).scalar("SELECT bridesname FROM General"), "Marker");

    // Whatever is there is kept, even a file that is no database at all.
    writeFile(target, "not a database");
    ASSERT_EQ(runMkdb({"install", testsupport::deliveredDatabase(), target}), 0);
    EXPECT_EQ(contents(target), "not a database");
    EXPECT_EQ(QDir(dir.filePath("bin")).entryList(QDir::Files), QStringList{"wedding.mdb"});
}

TEST(Mkdb, InstallWithoutADeliveredDatabaseFailsAndCreatesNothing)
{
    QTemporaryDir dir;
    EXPECT_EQ(runMkdb({"install", dir.filePath("missing.mdb"), dir.filePath("wedding.mdb")}), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("wedding.mdb")));
}

TEST(Mkdb, BuildAlwaysWritesTheDeliveredDatabaseAfresh)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("delivered/wedding.mdb");
    ASSERT_EQ(runMkdb(QStringList{"build", out} + schemaFiles()), 0);
    {
        schematest::SqliteDb db(out);
        db.exec("INSERT INTO Guests (LastName) VALUES ('Stale')");
    }
    ASSERT_EQ(runMkdb(QStringList{"build", out} + schemaFiles()), 0);
    EXPECT_EQ(schematest::SqliteDb(out).scalar("SELECT count(*) FROM Guests"), 0);
    EXPECT_EQ(QDir(dir.filePath("delivered")).entryList(QDir::Files), QStringList{"wedding.mdb"});
}

TEST(Mkdb, BuildWithFaultySqlFailsAndLeavesNoDatabase)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("wedding.mdb");
    ASSERT_EQ(runMkdb(QStringList{"build", out} + schemaFiles()), 0);

    const QString broken = dir.filePath("broken.sql");
    writeFile(broken, "CREATE TABLE Good (a TEXT);\nINSERT INTO Missing VALUES (1);\n");
    EXPECT_EQ(runMkdb({"build", out, broken}), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"broken.sql"});

    EXPECT_EQ(runMkdb({"build", out, dir.filePath("absent.sql")}), 1);
    EXPECT_FALSE(QFile::exists(out));
}
