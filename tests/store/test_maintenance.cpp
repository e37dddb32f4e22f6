// Compaction and repair round trips: nothing is lost from a sound file, a sound file comes
// out of repair unchanged, and a file with overwritten pages gives back every readable row.
#include "StoreFixture.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <functional>
#include <iostream>

using namespace store;
using storetest::StoreTest;

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Overwrites whole pages of a closed database file with a pattern.
void damagePages(const QString& path, int firstPage, int count)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    for (int p = firstPage; p < firstPage + count; ++p) {
        f.seek(qint64(p - 1) * 4096);
        f.write(QByteArray(4096, char(0xA5)));
    }
}

}  // namespace

class MaintenanceTest : public StoreTest {
protected:
    void fill(int guests)
    {
        ws().beginTrans();
        auto rs = db().openRecordset("Guests");
        for (int i = 0; i < guests; ++i) {
            rs->addNew();
            rs->setValue("LastName", QStringLiteral("Name%1").arg(i, 5, 10, QChar('0')));
            rs->setValue("Address", QStringLiteral("%1 Long Street, Apartment %2").arg(i).arg(i % 97));
            rs->setValue("engamt", Currency::fromRaw(i));
            rs->update();
        }
        ws().commitTrans();
        db().execute("INSERT INTO Tables (tablename) VALUES ('Head'), ('Family')");
    }
};

TEST_F(MaintenanceTest, CompactionKeepsEveryRowAndRefusesAnExistingDestination)
{
    fill(500);
    db().execute("DELETE FROM Guests WHERE rowid % 2 = 0");
    const QString target = dir_.filePath("tempovdb.mdb");
    // The open database compacts itself even with record sets open on it.
    auto open = db().openRecordset("Guests", RecordsetType::Table);
    open->moveNext();
    Workspace::compactDatabase(path_, target);
    EXPECT_LT(QFile(target).size(), QFile(path_).size());
    EXPECT_EQ(storetest::rawValue(target, "SELECT count(*) || '/' || sum(engamt) FROM Guests"),
              storetest::rawValue(path_, "SELECT count(*) || '/' || sum(engamt) FROM Guests"));
    EXPECT_EQ(storetest::rawValue(target, "SELECT group_concat(tablename) FROM Tables"), "Head,Family");
    EXPECT_EQ(storetest::rawValue(target, "SELECT seq FROM sqlite_sequence WHERE name = 'Tables'"), "2");
    EXPECT_STORE_ERROR(Workspace::compactDatabase(path_, target), err::DatabaseExists);
    ASSERT_EQ(ws().errors().size(), 1u);
    EXPECT_STORE_ERROR(Workspace::compactDatabase(dir_.filePath("none.mdb"), dir_.filePath("x.mdb")),
                       err::FileNotFound);
    ws().close();
    QFile::remove(path_);
    QFile::rename(target, path_);
    db_ = &ws().openDatabase(path_);
    EXPECT_EQ(db().openRecordset("Guests")->recordCount(), 250);
}

TEST_F(MaintenanceTest, RepairLeavesASoundFileUnchanged)
{
    fill(50);
    ws().close();
    const QByteArray before = fileHash(path_);
    const Workspace::RepairReport report = Workspace::repairDatabase(path_);
    EXPECT_FALSE(report.wasDamaged);
    EXPECT_EQ(fileHash(path_), before);
}

TEST_F(MaintenanceTest, RepairSalvagesEveryReadableRowOfADamagedFile)
{
    fill(3000);
    ws().close();
    const int pages = int(QFile(path_).size() / 4096);
    ASSERT_GT(pages, 60);
    damagePages(path_, pages / 2, 3);
    EXPECT_NE(storetest::rawValue(path_, "PRAGMA integrity_check"), "ok");

    const Workspace::RepairReport report = Workspace::repairDatabase(path_);
    std::cout << "repair: " << report.rowsRecovered << " rows recovered, " << report.rowsLost
              << " rows known lost, of 3002 rows\n";
    RecordProperty("rowsRecovered", report.rowsRecovered);
    EXPECT_TRUE(report.wasDamaged);
    EXPECT_EQ(storetest::rawValue(path_, "PRAGMA integrity_check"), "ok");
    EXPECT_GT(report.rowsRecovered, 2800);
    const int guests = storetest::rawValue(path_, "SELECT count(*) FROM Guests").toInt();
    EXPECT_EQ(report.rowsRecovered, guests + 2 + 2);  // the two tables and the two declared view columns
    // The schema came back with the rows: the index, the views and the declared types.
    db_ = &ws().openDatabase(path_);
    EXPECT_EQ(db().indexNames("Guests"), QStringList({"LastName"}));
    auto rs = db().openRecordset("Guests", RecordsetType::Table);
    rs->setIndex("LastName");
    EXPECT_EQ(rs->recordCount(), guests);
    EXPECT_EQ(rs->value("LastName").toString(), "Name00000");
    EXPECT_EQ(db().openRecordset("sumGifts")->value("count of guests").toLongLong(), guests);
    EXPECT_FALSE(QFile::exists(path_ + "-journal"));
}

TEST_F(MaintenanceTest, RepairRefusesWhatIsNoDatabase)
{
    ws().close();
    QFile f(path_);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(QByteArray(10000, 'z'));
    f.close();
    EXPECT_STORE_ERROR(Workspace::repairDatabase(path_), err::NotADatabase);
    EXPECT_STORE_ERROR(Workspace::repairDatabase(dir_.filePath("none.mdb")), err::FileNotFound);
}

TEST_F(MaintenanceTest, RepairReportsExactlyTheRowsItLostOrThatTheirNumberIsUnknown)
{
    fill(2000);
    ws().close();
    const QString pristine = dir_.filePath("pristine.mdb");
    ASSERT_TRUE(QFile::copy(path_, pristine));
    const qint64 size = QFile(pristine).size();
    const int pages = int(size / 4096);
    struct Damage {
        const char* name;
        std::function<void()> apply;
    };
    const std::vector<Damage> damages{
        {"pages overwritten", [&] { damagePages(path_, pages / 3, 20); }},
        {"pages zeroed",
         [&] {
             QFile f(path_);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.seek(qint64(pages / 2) * 4096);
             f.write(QByteArray(10 * 4096, '\0'));
         }},
        {"truncated", [&] { QFile(path_).resize(qint64(pages * 7 / 10) * 4096); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        QFile::remove(path_);
        ASSERT_TRUE(QFile::copy(pristine, path_));
        QFile(path_).setPermissions(QFile(pristine).permissions());
        damage.apply();
        Workspace::RepairReport report;
        try {
            report = Workspace::repairDatabase(path_);
        } catch (const StoreError& e) {
            ADD_FAILURE() << e.description().toStdString();
            continue;
        }
        EXPECT_TRUE(report.wasDamaged);
        EXPECT_EQ(storetest::rawValue(path_, "PRAGMA integrity_check"), "ok");
        const int guestsLost = 2000 - storetest::rawValue(path_, "SELECT count(*) FROM Guests").toInt();
        const auto guests = std::find_if(report.losses.begin(), report.losses.end(),
                                         [](const Workspace::TableLoss& l) { return l.table == "Guests"; });
        if (guestsLost == 0) {
            EXPECT_EQ(guests, report.losses.end());
        } else {
            ASSERT_NE(guests, report.losses.end()) << guestsLost << " guests lost but not reported";
            if (guests->lostKnown) {
                EXPECT_EQ(guests->lost, guestsLost);
            }
        }
        std::cout << damage.name << ": " << guestsLost << " guests lost, reported "
                  << (guests == report.losses.end() ? 0 : guests->lost)
                  << (guests != report.losses.end() && !guests->lostKnown ? " (count unknown)" : "") << "\n";
    }
}
