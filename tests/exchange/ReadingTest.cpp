// Reading guest lists as couples bring them: encodings, separators, header rows, quoted
// fields, and the guess of each column's guest field.
#include "exchange/CsvFile.h"
#include "exchange/GuestFields.h"

#include "tests/exchange/ExchangeFixture.h"

#include <gtest/gtest.h>

using namespace exchange;

namespace {

QByteArray windows1252(const char* text)
{
    return QByteArray(text);
}

}  // namespace

TEST(Encodings, EachShapeIsDetectedAndDecoded)
{
    const QString names = QStringLiteral("Name,City\nChloé Schäfer,Zürich\n");
    const QByteArray utf8 = names.toUtf8();
    EXPECT_EQ(detectEncoding(utf8), Encoding::Utf8);
    EXPECT_EQ(decodeText(utf8, Encoding::Utf8), names);

    const QByteArray bom = "\xEF\xBB\xBF" + utf8;
    EXPECT_EQ(detectEncoding(bom), Encoding::Utf8Bom);
    EXPECT_EQ(decodeText(bom, Encoding::Utf8Bom), names) << "the BOM is not part of the first header";

    QByteArray le("\xFF\xFE", 2), be("\xFE\xFF", 2);
    for (QChar c : names) {
        le += char(c.unicode() & 0xFF);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    EXPECT_EQ(detectEncoding(le), Encoding::Utf16Le);
    EXPECT_EQ(decodeText(le, Encoding::Utf16Le), names);
    EXPECT_EQ(detectEncoding(be), Encoding::Utf16Be);
    EXPECT_EQ(decodeText(be, Encoding::Utf16Be), names);

    // é = E9, ä = E4, ü = FC, the curly apostrophe = 92 in Windows-1252.
    const QByteArray cp = windows1252(
        "Name,City\nChlo\xE9 Sch\xE4"
        "fer,Z\xFCrich\nO\x92"
        "Connell,Cork\n");
    EXPECT_EQ(detectEncoding(cp), Encoding::Windows1252);
    EXPECT_EQ(decodeText(cp, Encoding::Windows1252), names + QStringLiteral("O\u2019Connell,Cork\n"));
    // A byte the code page leaves undefined shows as a replacement mark, not as lost text.
    EXPECT_EQ(decodeText(QByteArray("a\x81z"), Encoding::Windows1252), QStringLiteral("a\uFFFDz"));
}

TEST(Separators, TheConsistentOneWinsAndQuotedFieldsKeepSeparatorsAndLineBreaks)
{
    EXPECT_EQ(detectSeparator("First;Last;City\nAnna;Berg;Oslo\nPer;Lie;Bergen, Norway\n"), ';');
    EXPECT_EQ(detectSeparator("First\tLast\tCity\nAnna\tBerg\tOslo, Norway\n"), '\t');
    EXPECT_EQ(detectSeparator("First,Last,Note\nAnna,Berg,\"a; b; c\"\n"), ',');

    const QList<QStringList> rows = parseCsv(
        "Name,Address\r\n\"Okafor, Liam\",\"9 Old Mill Road\nSanta Fe\"\r\n\r\n,\r\n\"Say \"\"hi\"\"\", x "
        "\r\n",
        ',');
    ASSERT_EQ(rows.size(), 3) << "blank lines and rows of empty fields are left out";
    EXPECT_EQ(rows[1], (QStringList{"Okafor, Liam", "9 Old Mill Road\nSanta Fe"}));
    EXPECT_EQ(rows[2], (QStringList{"Say \"hi\"", "x"}));

    // A tab-separated file keeps its empty cells: tabs are never taken for blanks.
    EXPECT_EQ(parseCsv("a\t\tc\n", '\t').first(), (QStringList{"a", "", "c"}));
}

TEST(HeaderRows, KnownNamesOrTextAboveFiguresMakeAHeader)
{
    EXPECT_TRUE(looksLikeHeader({{"Guest Name(s)", "Street Address"}, {"Dr. Grace Moreau", "1 Elm"}}));
    EXPECT_TRUE(looksLikeHeader({{"Who", "Where"}, {"Grace", "1 Elm"}}));
    EXPECT_FALSE(looksLikeHeader({{"Grace Moreau", "1 Elm Street"}, {"Liam Okafor", "9 Old Mill Road"}}));

    const CsvTable noHeader = readCsv("Grace Moreau,1 Elm Street\nLiam Okafor,9 Old Mill Road\n");
    EXPECT_FALSE(noHeader.headerRow);
    EXPECT_EQ(noHeader.headers, (QStringList{"Column 1", "Column 2"}));
    EXPECT_EQ(noHeader.rows.size(), 2);
    EXPECT_EQ(noHeader.rowNumbers, (QList<int>{1, 2}));

    // Every guess can be overridden.
    const CsvTable forced = readCsv("a;b\nc;d\n", {Encoding::Windows1252, ',', true});
    EXPECT_EQ(forced.headers, QStringList{"a;b"});
    EXPECT_EQ(forced.rows.size(), 1);
}

TEST(HeaderGuesses, TheLayoutsCouplesBringAreRecognised)
{
    const QStringList headers = {"First Name",
                                 "Last Name",
                                 "Name Prefix",
                                 "Address 1 - Street",
                                 "Address 1 - City",
                                 "Address 1 - Region",
                                 "Address 1 - Postal Code",
                                 "Address 1 - Country",
                                 "Phone 1 - Value",
                                 "E-mail 1 - Value",
                                 "Notes"};
    const std::vector<GuestField> guessed = guessMapping(headers);
    const std::vector<GuestField> expected = {
        GuestField::FirstName, GuestField::LastName,    GuestField::Prefix,     GuestField::Address,
        GuestField::City,      GuestField::State,       GuestField::PostalCode, GuestField::Country,
        GuestField::HomePhone, GuestField::NotImported, GuestField::NotImported};
    EXPECT_EQ(guessed, expected);

    EXPECT_EQ(guessField("Home Postal Code"), GuestField::PostalCode);
    EXPECT_EQ(guessField("Home Country/Region"), GuestField::Country);
    EXPECT_EQ(guessField("Title"), GuestField::Prefix);
    EXPECT_EQ(guessField("Guest Name(s)"), GuestField::WholeName);
    EXPECT_EQ(guessField("# Invited"), GuestField::Invited);
    EXPECT_EQ(guessField("RSVP"), GuestField::Rsvp);
    EXPECT_EQ(guessField("Coming"), GuestField::Attending);
    EXPECT_EQ(guessField("Zip"), GuestField::PostalCode);

    // A second column naming a field already taken is not imported twice; separate
    // name columns make a whole-name column redundant.
    const std::vector<GuestField> twice = guessMapping({"Name", "Phone", "Telephone", "Last Name"});
    EXPECT_EQ(twice, (std::vector<GuestField>{GuestField::NotImported, GuestField::HomePhone,
                                              GuestField::NotImported, GuestField::LastName}));
}

TEST(CellReading, YesNoCountsSidesAndAnswers)
{
    for (const char* yes : {"x", "X", "yes", "Y", "true", "1", "\u2713"})
        EXPECT_EQ(readYesNo(QString::fromUtf8(yes)), true) << yes;
    for (const char* no : {"", " ", "no", "N", "false", "0", "-"})
        EXPECT_EQ(readYesNo(QString::fromUtf8(no)), false) << no;
    EXPECT_EQ(readYesNo("perhaps"), std::nullopt);

    EXPECT_EQ(readCount(" 3 ").value, 3);
    EXPECT_EQ(readCount("2.0").value, 2);
    EXPECT_TRUE(readCount("").ok);
    EXPECT_FALSE(readCount("").value);
    for (const char* bad : {"two", "2.5", "-1", "3 adults"})
        EXPECT_FALSE(readCount(bad).ok) << bad;

    EXPECT_EQ(readSide("Bride"), "Bride");
    EXPECT_EQ(readSide("bride's family"), "Bride");
    EXPECT_EQ(readSide("Groom (work)"), "Groom");
    EXPECT_EQ(readSide("BOTH"), "Both");
    EXPECT_EQ(readSide("bride & groom"), "Both");
    EXPECT_EQ(readSide("Emma's college friends", "Emma Lund", "Noah Berg"), "Bride");
    EXPECT_EQ(readSide("Noah (work)", "Emma Lund", "Noah Berg"), "Groom");
    EXPECT_EQ(readSide(""), QString());
    EXPECT_EQ(readSide("neighbours"), std::nullopt);

    EXPECT_EQ(readAnswer("Yes").coming, true);
    EXPECT_EQ(readAnswer("N").coming, false);
    EXPECT_EQ(readAnswer("declined").coming, false);
    EXPECT_TRUE(readAnswer("").ok);
    EXPECT_FALSE(readAnswer("").coming);
    EXPECT_FALSE(readAnswer("ask mum").ok);
}

TEST(SampleFiles, BothSampleListsAreReadWithTheirShapes)
{
    const QString dir = exchangetest::importSamplesDir();
    const CsvTable contacts = readCsvFile(dir + "/google-contacts.csv");
    EXPECT_EQ(contacts.encoding, Encoding::Utf8);
    EXPECT_EQ(contacts.separator, ',');
    EXPECT_TRUE(contacts.headerRow);
    const qsizetype formatted = contacts.headers.indexOf("Address 1 - Formatted");
    ASSERT_GE(formatted, 0);
    EXPECT_TRUE(contacts.rows.first()[formatted].contains('\n')) << "the multi-line address stays one field";
    for (const QStringList& row : contacts.rows)
        EXPECT_EQ(row.size(), contacts.headers.size());

    const CsvTable sheet = readCsvFile(dir + "/guest-spreadsheet.csv");
    EXPECT_EQ(sheet.encoding, Encoding::Utf8Bom);
    EXPECT_EQ(sheet.headers.first(), "Guest Name(s)");
    EXPECT_FALSE(sheet.rows.last().join("").isEmpty()) << "the empty last line is no guest";
}

TEST(SampleFiles, AWorkbookIsRefusedWithHowToSaveItAsCsv)
{
    exchangetest::TempFile xlsx("list.xlsx", QByteArray("PK\x03\x04rest", 8));
    try {
        readCsvFile(xlsx.path());
        FAIL() << "a workbook must not be read as text";
    } catch (const ExchangeError& e) {
        EXPECT_TRUE(e.message().contains("CSV UTF-8")) << e.message().toStdString();
    }
    EXPECT_THROW(readCsvFile(xlsx.path() + ".missing"), ExchangeError);
}

TEST(CsvWriting, FieldsAreQuotedOnlyWhereNeededAndReadBackTheSame)
{
    const QStringList fields = {"plain", "O'Connell, Caleb", "say \"hi\"", "two\nlines", "", "Zoë"};
    const QByteArray line = csvLine(fields);
    EXPECT_TRUE(line.startsWith("plain,\"O'Connell, Caleb\",\"say \"\"hi\"\"\","));
    EXPECT_TRUE(line.endsWith("\r\n"));
    EXPECT_EQ(parseCsv(QString::fromUtf8(csvLine({"h1", "h2", "h3", "h4", "h5", "h6"}) + line), ',').last(),
              fields);
}
