// Failures the windows see: opening files that are no usable database, constraint
// failures, and the error list of the last failed operation.
#include "StoreFixture.h"

#include <sqlite3.h>

#include "store/Handle.h"
#include "store/Sqlite.h"

#include <QFile>

#include <sys/stat.h>

using namespace store;
using storetest::StoreTest;

TEST_F(StoreTest, OpeningAnythingButAWritableDatabaseFails)
{
    ws().close();
    const QString missing = dir_.filePath("missing.mdb");
    EXPECT_STORE_ERROR(ws().openDatabase(missing), err::FileNotFound);
    EXPECT_FALSE(QFile::exists(missing));  // opening never creates a file

    const QString empty = dir_.filePath("empty.mdb");
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_STORE_ERROR(ws().openDatabase(empty), err::NotADatabase);
    EXPECT_EQ(QFile(empty).size(), 0);

    const QString text = dir_.filePath("text.mdb");
    {
        QFile f(text);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(8192, 'x'));
    }
    EXPECT_STORE_ERROR(ws().openDatabase(text), err::NotADatabase);
    ASSERT_EQ(ws().errors().size(), 1u);
    EXPECT_EQ(ws().errors().front().number(), err::NotADatabase);

    QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_STORE_ERROR(ws().openDatabase(path_), err::FileReadOnly);
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);

    sqlite3* other = nullptr;
    sqlite3_open(QFile::encodeName(path_).constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_STORE_ERROR(ws().openDatabase(path_), err::FileLocked);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    db_ = &ws().openDatabase(path_);
    EXPECT_TRUE(db().isOpen());
    EXPECT_TRUE(ws().errors().empty());
}

namespace {

// The description of the store error the statement throws ("" when it throws none).
template <typename F>
QString errorText(F&& statement, int expectedNumber)
{
    try {
        statement();
    } catch (const StoreError& e) {
        EXPECT_EQ(e.number(), expectedNumber) << e.description().toStdString();
        return e.description();
    }
    ADD_FAILURE() << "expected store error " << expectedNumber;
    return {};
}

}  // namespace

TEST_F(StoreTest, AFolderADeviceOrAPipeIsSaidToBeWhatItIs)
{
    ws().close();
    EXPECT_TRUE(
        errorText([&] { Database::openFile(dir_.path()); }, err::NotADatabase).contains("is a folder"));
    EXPECT_TRUE(errorText([&] { ws().openDatabase("/dev/null"); }, err::NotADatabase)
                    .contains("is not a regular file"));
    const QString pipe = dir_.filePath("wedding.fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Refused before anything opens it: opening a pipe would wait for a writer.
    EXPECT_TRUE(
        errorText([&] { ws().openDatabase(pipe); }, err::NotADatabase).contains("is not a regular file"));
    EXPECT_TRUE(errorText([&] { ws().openDatabase(dir_.filePath("gone.mdb")); }, err::FileNotFound)
                    .contains("Could not find"));
    db_ = &ws().openDatabase(path_);
}

TEST_F(StoreTest, AFailedStatementIsToldInWordsWithoutItsSql)
{
    sqlite3* other = nullptr;
    sqlite3_open(QFile::encodeName(path_).constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(store::handleOf(db()), 0);  // no waiting for the other program
    const QString locked = errorText(
        [&] {
            db().execute("INSERT INTO Guests (FirstName, LastName) VALUES (?, ?)", {"Anna", "Berg"});
        },
        err::FileLocked);
    EXPECT_TRUE(locked.contains("locked by another program")) << locked.toStdString();
    EXPECT_FALSE(locked.contains("INSERT", Qt::CaseInsensitive)) << locked.toStdString();
    EXPECT_FALSE(locked.contains("Guests")) << locked.toStdString();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    const QString twoStatements =
        errorText([&] { sql::Statement(store::handleOf(db()), "SELECT 1; DELETE FROM Guests"); }, err::SyntaxError);
    EXPECT_FALSE(twoStatements.contains("DELETE")) << twoStatements.toStdString();
}

TEST_F(StoreTest, ConstraintFailuresCarryTheirNumbersAndKeepTheEdit)
{
    db().execute("INSERT INTO CityList (City) VALUES ('Rome')");
    auto rs = db().openRecordset("CityList");
    rs->addNew();
    rs->setValue("City", "ROME");  // the same value without regard to case
    EXPECT_STORE_ERROR(rs->update(), err::DuplicateKey);
    EXPECT_EQ(rs->editMode(), EditMode::Add);
    rs->setValue("City", QVariant());
    EXPECT_STORE_ERROR(rs->update(), err::RequiredValue);
    rs->setValue("City", "Oslo");
    rs->update();
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_STORE_ERROR(db().execute("INSERT INTO CityList (City) VALUES (?)", {"oslo"}), err::DuplicateKey);
    ASSERT_FALSE(ws().errors().empty());
    EXPECT_EQ(ws().errors().back().number(), err::DuplicateKey);
}

TEST_F(StoreTest, UnknownNamesAndBadTextAreReportedByKind)
{
    EXPECT_STORE_ERROR(db().openRecordset("SELECT * FROM Nowhere"), err::UnknownObject);
    EXPECT_STORE_ERROR(db().openRecordset("SELECT Nothing FROM Guests"), err::UnknownField);
    EXPECT_STORE_ERROR(db().openRecordset("SELECT * FROM Guests WHERE"), err::SyntaxError);
    EXPECT_STORE_ERROR(db().execute("UPDATE Guests SET LastName = 'x' WHERE"), err::SyntaxError);
    EXPECT_STORE_ERROR(db().tableFields("Nowhere"), err::UnknownObject);
    auto snap = db().openRecordset("Guests", RecordsetType::Snapshot);
    EXPECT_STORE_ERROR(snap->addNew(), err::NotInEditMode);
    EXPECT_STORE_ERROR(snap->value("Nope"), err::UnknownField);
    EXPECT_STORE_ERROR(snap->setAbsolutePosition(5), err::InvalidArgument);
}

TEST_F(StoreTest, TableDescriptionsFollowTheDeclaredTypes)
{
    const QList<FieldInfo> fields = db().tableFields("Tables");
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ(fields[0].name, "TableId");
    EXPECT_TRUE(fields[0].autoNumber);
    EXPECT_EQ(fields[1].type, FieldType::Text);
    EXPECT_EQ(fields[1].size, 50);
    EXPECT_EQ(fields[3].type, FieldType::Number);
    EXPECT_EQ(db().tableFields("Guests")[6].type, FieldType::YesNo);
    EXPECT_EQ(db().tableFields("Guests")[12].type, FieldType::Currency);
    EXPECT_EQ(db().tableFields("Guests")[18].size, 0);
    EXPECT_EQ(db().indexNames("Guests"), QStringList({"LastName"}));
}
