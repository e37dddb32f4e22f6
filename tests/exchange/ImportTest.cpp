// Importing guest lists into a wedding: the fields each row fills, the review's three
// lists, the choices for duplicates and problems, and the safety of the write.
#include "exchange/GuestImport.h"
#include "exchange/MappingMemory.h"
#include "store/Handle.h"

#include "tests/exchange/ExchangeFixture.h"

#include <sqlite3.h>

#include <QFileInfo>

using namespace exchange;
using exchangetest::fileBytes;

namespace {

class GuestImport : public exchangetest::WeddingTest {
protected:
    ImportReview review(const CsvTable& table, std::vector<GuestField> mapping = {})
    {
        ImportSettings settings;
        settings.mapping = mapping.empty() ? guessMapping(table.headers) : std::move(mapping);
        return reviewImport(table, settings, loadGuestList(db()));
    }
    ImportReview reviewSample(const QString& name)
    {
        const QString dir = exchangetest::importSamplesDir();
        return review(readCsvFile(dir + "/" + name));
    }
    // The stored party with this first and last name.
    QVariantMap party(const QString& first, const QString& last)
    {
        auto set = db().openRecordset("Guests", store::RecordsetType::Snapshot);
        set->findFirst("[FirstName] = ? AND [LastName] = ?", {first, last});
        QVariantMap values;
        if (set->noMatch())
            return values;
        for (const store::FieldInfo& f : set->fields())
            values.insert(f.name, set->value(f.name));
        return values;
    }
    const ReviewRow* row(const ImportReview& r, const QString& name)
    {
        for (const ReviewRow& row : r.rows)
            if (row.name() == name)
                return &row;
        return nullptr;
    }
};

QString noBackup(const QString&)
{
    return {};
}

}  // namespace

TEST_F(GuestImport, TheCouplesSpreadsheetFillsEveryField)
{
    ImportReview r = reviewSample("guest-spreadsheet.csv");
    ASSERT_FALSE(r.rows.empty());
    const int before = guestCount();
    const ImportResult result = runImport(db(), r, noBackup);
    EXPECT_EQ(guestCount(), before + result.added);
    EXPECT_EQ(result.added, r.newCount());
    EXPECT_EQ(result.added + result.skipped, int(r.rows.size()));

    // "Mr. and Mrs. Liam van Dijk",...,Toronto,ON,M5V 2T6,(555) 0105-3132,bride's family,2,x,,,,
    QVariantMap p = party("Liam", "van Dijk");
    ASSERT_FALSE(p.isEmpty());
    EXPECT_EQ(p["Prefix"], "Mr. and Mrs.");
    EXPECT_EQ(p["Address"], "350 Fifth Ave, Suite 12");
    EXPECT_EQ(p["City"], "Toronto");
    EXPECT_EQ(p["State"], "ON");
    EXPECT_EQ(p["PostalCode"], "M5V 2T6");
    EXPECT_EQ(p["HomePhone"], "(555) 0105-3132");
    EXPECT_EQ(p["guestof"], "Bride");
    EXPECT_EQ(p["Invited"].toLongLong(), 2);
    EXPECT_TRUE(p["InvCeremony"].toBool());
    EXPECT_FALSE(p["InvReception"].toBool());
    EXPECT_FALSE(p["ShowerGuest"].toBool());
    EXPECT_FALSE(p["Confirmed"].toBool()) << "no answer yet";
    EXPECT_EQ(p["wedlbl"], "Mr. and Mrs. Liam van Dijk") << "the whole text is the envelope line";
    EXPECT_EQ(p["showlbl"], "Mrs. van Dijk");
    EXPECT_EQ(p["tableid"].toLongLong(), 0) << "not seated, as a party added by hand";

    // "Dr. Tomás Schäfer",...,bride's family,1,x,,x,yes,1
    p = party("Tomás", "Schäfer");
    EXPECT_EQ(p["Prefix"], "Dr.");
    EXPECT_TRUE(p["ShowerGuest"].toBool());
    EXPECT_TRUE(p["Confirmed"].toBool());
    EXPECT_EQ(p["NumberAttending"].toLongLong(), 1);

    // "Rafael Schäfer & Guest",...,bride's family,2,x,x,,No,0
    p = party("Rafael", "Schäfer");
    EXPECT_EQ(p["Invited"].toLongLong(), 2);
    EXPECT_TRUE(p["Confirmed"].toBool()) << "a No is an answer";
    EXPECT_EQ(p["NumberAttending"].toLongLong(), 0);

    // "Mr. and Mrs. Kenji Kowalczyk",...,Both,2,...; "Groom (work)" reads as Groom.
    EXPECT_EQ(party("Kenji", "Kowalczyk")["guestof"], "Both");
    EXPECT_EQ(party("Lucas", "Castellanos")["guestof"], "Groom");
}

TEST_F(GuestImport, TheRepeatedPartiesOfTheSpreadsheetAreFlagged)
{
    ImportReview r = reviewSample("guest-spreadsheet.csv");
    ASSERT_FALSE(r.rows.empty());
    std::vector<const ReviewRow*> schafers;
    for (const ReviewRow& row : r.rows)
        if (row.values().value("LastName") == "Schäfer" &&
            row.values().value("FirstName").toString().isEmpty())
            schafers.push_back(&row);
    ASSERT_EQ(schafers.size(), 2u) << "The Schäfer Family appears twice";
    EXPECT_FALSE(schafers[0]->duplicate);
    ASSERT_TRUE(schafers[1]->duplicate);
    EXPECT_FALSE(schafers[1]->duplicate->ofExisting);
    EXPECT_EQ(r.rows[size_t(schafers[1]->duplicate->earlierRow)].rowNumber, schafers[0]->rowNumber);
}

TEST_F(GuestImport, AnAddressBookExportFillsSeparateFieldsAndListsTheRest)
{
    ImportReview r = reviewSample("google-contacts.csv");
    ASSERT_FALSE(r.rows.empty());
    EXPECT_TRUE(r.notImported.contains("E-mail 1 - Value"));
    EXPECT_TRUE(r.notImported.contains("Notes"));
    runImport(db(), r, noBackup);
    const QVariantMap p = party("Samuel", "Okafor");
    ASSERT_FALSE(p.isEmpty());
    EXPECT_EQ(p["Prefix"], "Mrs.");
    EXPECT_EQ(p["Address"], "9 Old Mill Road");
    EXPECT_EQ(p["City"], "Santa Fe");
    EXPECT_EQ(p["State"], "NM");
    EXPECT_EQ(p["PostalCode"], "87501");
    EXPECT_EQ(p["Country"], "United States");
    EXPECT_EQ(p["HomePhone"], "+1 555-0100");
    EXPECT_EQ(p["guestof"], "Both") << "the new guest dialog's side";
    EXPECT_EQ(p["Invited"].toLongLong(), 1);
    EXPECT_EQ(p["wedlbl"], "Mrs. Samuel Okafor");
    EXPECT_EQ(p["showlbl"], "Mrs. Okafor");
    EXPECT_EQ(party("Nora", "Ó Súilleabháin")["Prefix"], "Ms.");
}

TEST_F(GuestImport, DuplicatesOfThePartiesInTheListAreFoundByNameOrByAddress)
{
    addParty("Chloe", "HADDAD");
    addParty("Someone", "Okafor", "9 old mill rd.");
    const CsvTable t = readCsv(
        "First Name,Last Name,Street\nChloé,Haddad,1 Elm\nJo,Okafor,9 Old Mill Road\n"
        "Jo,Bergström,9 Old Mill Road\n");
    const ImportReview r = review(t);
    ASSERT_EQ(r.rows.size(), 3u);
    ASSERT_TRUE(r.rows[0].duplicate);
    EXPECT_TRUE(r.rows[0].duplicate->ofExisting);
    EXPECT_EQ(r.rows[0].duplicate->reason, "same name");
    EXPECT_EQ(r.rows[0].duplicate->matchedName, "Chloe HADDAD");
    ASSERT_TRUE(r.rows[1].duplicate);
    EXPECT_EQ(r.rows[1].duplicate->reason, "same last name and address");
    EXPECT_FALSE(r.rows[2].duplicate) << "another family at the same address";
    EXPECT_EQ(r.newCount(), 1);
    EXPECT_EQ(r.duplicateCount(), 2);
}

TEST_F(GuestImport, ADuplicateIsSkippedAddedOrFillsTheExistingPartysEmptyFields)
{
    addParty("Grace", "Moreau");
    const CsvTable t = readCsv("First Name,Last Name,City,Phone\nGrace,Moreau,Lyon,555-1\n");
    ImportReview r = review(t);
    ASSERT_TRUE(r.rows[0].duplicate);

    ImportResult result = runImport(db(), r, noBackup);  // skip is the default
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(guestCount(), 1);

    db().execute("UPDATE Guests SET HomePhone = '555-9'");
    r.rows[0].duplicateAction = DuplicateAction::Fill;
    result = runImport(db(), r, noBackup);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(guestCount(), 1);
    QVariantMap p = party("Grace", "Moreau");
    EXPECT_EQ(p["City"], "Lyon") << "an empty field is filled";
    EXPECT_EQ(p["HomePhone"], "555-9") << "a filled field is kept";

    r.rows[0].duplicateAction = DuplicateAction::Add;
    result = runImport(db(), r, noBackup);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(guestCount(), 2);
}

TEST_F(GuestImport, OverLongTextsAndUnreadableFiguresAreListedNotCut)
{
    const QString street =
        QStringLiteral("1234 Extraordinarily Long Boulevard Name, Apt 5");  // 48 characters
    const CsvTable t = readCsv(("First Name,Last Name,Address,# Invited\nAnna,Berg,\"" + street +
                                "\",2\nPer,Lie,1 Elm,two\nNo,,1 Elm,1\n")
                                   .toUtf8());
    ImportReview r = review(t);
    EXPECT_EQ(r.problemCount(), 3);
    ASSERT_EQ(r.rows[0].problems.size(), 1u);
    const Problem& tooLong = r.rows[0].problems[0];
    EXPECT_EQ(tooLong.kind, ProblemKind::TooLong);
    EXPECT_EQ(tooLong.size, 40);
    EXPECT_EQ(tooLong.value, street);
    EXPECT_TRUE(tooLong.text().contains(street));
    EXPECT_EQ(r.rows[1].problems[0].kind, ProblemKind::Unreadable);
    EXPECT_EQ(r.rows[1].problems[0].value, "two");
    EXPECT_EQ(r.rows[2].problems[0].kind, ProblemKind::NoLastName);
    EXPECT_FALSE(r.rows[2].fixable());

    // By default every problem row is skipped; nothing is cut without the user's choice.
    ImportResult result = runImport(db(), r, noBackup);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.skipped, 3);
    EXPECT_EQ(guestCount(), 0);

    for (ReviewRow& row : r.rows)
        row.problemAction = ProblemAction::Fix;
    result = runImport(db(), r, noBackup);
    EXPECT_EQ(result.added, 2) << "the row without a last name cannot be mended";
    EXPECT_EQ(party("Anna", "Berg")["Address"], street.left(40));
    EXPECT_TRUE(party("Per", "Lie")["Invited"].isNull()) << "the unreadable count is left out";
}

TEST_F(GuestImport, ReviewingWritesNothingAndTheImportKeepsACopyFirst)
{
    addParty("Grace", "Moreau");
    store::Workspace::defaultWorkspace().close();
    const QByteArray before = fileBytes(path());
    db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
    const ImportReview r = review(readCsv("Name\nDr. Liam Okafor\nGrace Moreau\n"));
    EXPECT_EQ(planSummary(r).added, 1);
    store::Workspace::defaultWorkspace().close();
    EXPECT_EQ(fileBytes(path()), before) << "reading and reviewing leave the file byte-identical";

    db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
    const ImportResult result = runImport(db(), r);
    EXPECT_EQ(result.added, 1);
    ASSERT_FALSE(result.backupPath.isEmpty());
    EXPECT_TRUE(result.summary().contains(result.backupPath));
    auto backup = store::Database::openFile(result.backupPath);
    EXPECT_EQ(backup->openRecordset("Guests", store::RecordsetType::Snapshot)->recordCount(), 1)
        << "the backup holds the list from before the import";
}

TEST_F(GuestImport, NoBackupMeansNoImport)
{
    const ImportReview r = review(readCsv("Name\nDr. Liam Okafor\n"));
    EXPECT_THROW(runImport(db(), r, [](const QString&) -> QString { throw ExchangeError("disk full"); }),
                 ExchangeError);
    EXPECT_EQ(guestCount(), 0);
}

TEST_F(GuestImport, AFailedWriteLeavesNoHalfImportedList)
{
    addParty("Grace", "Moreau");
    QByteArray csv = "First Name,Last Name,Address\n";
    for (int i = 0; i < 3000; ++i)
        csv += QStringLiteral("Guest%1,Family%1,%1 Long Road Somewhere In The County\n").arg(i).toUtf8();
    const ImportReview r = review(readCsv(csv));

    // A full disk: the file may not grow past a few pages more than it has.
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(store::handleOf(db()), "PRAGMA page_count", -1, &st, nullptr);
    sqlite3_step(st);
    const std::string limit = "PRAGMA max_page_count = " + std::to_string(sqlite3_column_int(st, 0) + 3);
    sqlite3_finalize(st);
    sqlite3_exec(store::handleOf(db()), limit.c_str(), nullptr, nullptr, nullptr);
    EXPECT_THROW(runImport(db(), r, noBackup), store::StoreError);
    EXPECT_EQ(guestCount(), 1);
    sqlite3_exec(store::handleOf(db()), "PRAGMA max_page_count = 1073741823", nullptr, nullptr, nullptr);

    // A file locked by another program.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        runImport(db(), r, noBackup);
        ADD_FAILURE() << "a locked file takes no import";
    } catch (const store::StoreError& e) {
        EXPECT_EQ(e.number(), store::err::FileLocked);
        EXPECT_TRUE(e.description().contains("locked by another program")) << e.description().toStdString();
        EXPECT_FALSE(e.description().contains("INSERT")) << "the user is told in words, not in SQL";
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(guestCount(), 1);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);

    EXPECT_EQ(runImport(db(), r, noBackup).added, 3000) << "the same import works once the file is free";
}

TEST_F(GuestImport, AZeroByteIsNeverStoredAndItsRowIsListedAsAProblem)
{
    static const char csv[] =
        "First Name,Last Name,City,Notes\n"
        "Anna,Berg,Os\0lo,\n"
        "Per,Lie,Bergen,n\0te\n"
        "E\0va,Dahl,Molde,\n";
    const CsvTable t = readCsv(QByteArray(csv, sizeof csv - 1));
    ImportReview r = review(t);
    ASSERT_EQ(r.rows.size(), 3u);
    ASSERT_EQ(r.rows[0].problems.size(), 1u);
    EXPECT_EQ(r.rows[0].problems[0].kind, ProblemKind::NotText);
    EXPECT_TRUE(r.rows[0].problems[0].text().contains("City")) << r.rows[0].problems[0].text().toStdString();
    EXPECT_FALSE(r.rows[0].problems[0].text().contains(QChar(0))) << "shown, not printed raw";
    EXPECT_TRUE(r.rows[1].problems.empty()) << "a column that is not imported stores nothing";
    EXPECT_EQ(r.problemCount(), 2);

    for (ReviewRow& row : r.rows)
        row.problemAction = ProblemAction::Fix;
    const ImportResult result = runImport(db(), r, noBackup);
    EXPECT_EQ(result.added, 3) << "the row whose first name it spoils keeps its last name";
    EXPECT_TRUE(party("Anna", "Berg")["City"].isNull()) << "the spoilt value is left out";
    EXPECT_EQ(guestCount(), 3) << "Per Lie has no problem; Eva's first name is left out";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(store::handleOf(db()),
                       "SELECT count(*) FROM Guests WHERE instr(CAST(FirstName AS BLOB), x'00') OR "
                       "instr(CAST(City AS BLOB), x'00') OR instr(CAST(wedlbl AS BLOB), x'00')",
                       -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 0);
    sqlite3_finalize(st);
}

TEST_F(GuestImport, ShorteningNeverCutsACharacterInHalf)
{
    // The address holds 40 characters (UTF-16 units): the 40th is the first half of an emoji.
    const QString street = QString(38, QLatin1Char('a')) + QString::fromUtf8(" \xF0\x9F\x92\x8D ring");
    ImportReview r =
        review(readCsv(("First Name,Last Name,Address\nAnna,Berg,\"" + street + "\"\n").toUtf8()));
    ASSERT_EQ(r.rows[0].problems.size(), 1u);
    EXPECT_EQ(r.rows[0].problems[0].kind, ProblemKind::TooLong);
    r.rows[0].problemAction = ProblemAction::Fix;
    EXPECT_EQ(runImport(db(), r, noBackup).added, 1);
    const QString stored = party("Anna", "Berg")["Address"].toString();
    EXPECT_EQ(stored, QString(38, QLatin1Char('a')) + " ") << "the emoji is left out whole";

    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(store::handleOf(db()), "SELECT CAST(Address AS BLOB) FROM Guests", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    const QByteArray bytes(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
    EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << "the stored text is valid UTF-8";
}

TEST_F(GuestImport, AHugeFieldIsShownShortenedInTheReview)
{
    const QString name = QStringLiteral("Dr. Liam ") + QString(5 * 1024 * 1024, QLatin1Char('O'));
    const ImportReview r = review(readCsv(("Name,Address\n\"" + name + "\",\"" + name + "\"\n").toUtf8()));
    ASSERT_EQ(r.problemCount(), 1);
    EXPECT_LE(r.rows[0].name().size(), 101);
    qsizetype shown = 0;
    for (const Problem& p : r.rows[0].problems)
        shown += p.text().size();
    EXPECT_LT(shown, 2000) << "each problem shows the value's beginning, not its megabytes";
}

TEST_F(GuestImport, TheMappingIsRememberedForTheNextFileWithTheSameHeader)
{
    const CsvOptions header{std::nullopt, std::nullopt, true};
    const CsvTable t = readCsv("Who,Family,Notes\nLiam,Okafor,vegetarian\n", header);
    const std::vector<GuestField> chosen = {GuestField::FirstName, GuestField::LastName,
                                            GuestField::NotImported};
    EXPECT_FALSE(rememberedMapping(db(), t.headers));
    runImport(db(), review(t, chosen), nullptr);
    EXPECT_EQ(rememberedMapping(db(), t.headers), chosen);
    EXPECT_EQ(rememberedMapping(db(), {"WHO", "family", "notes"}), chosen) << "header case does not matter";
    EXPECT_FALSE(rememberedMapping(db(), {"Who", "Family"}));

    // A file from before the table existed imports all the same and remembers nothing.
    sqlite3_exec(store::handleOf(db()), "DROP TABLE ImportMappings", nullptr, nullptr, nullptr);
    store::Workspace::defaultWorkspace().close();
    db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
    EXPECT_EQ(
        runImport(db(), review(readCsv("Who,Family,Notes\nGrace,Moreau,\n", header), chosen), nullptr).added,
        1);
    EXPECT_FALSE(rememberedMapping(db(), t.headers));
}
