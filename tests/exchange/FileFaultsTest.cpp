// Files that are not what they claim to be: folders, devices and pipes given as a guest
// list, binary files, quotation marks never closed, lists too large to read, and the
// cells of a hostile list (counts in other notations, texts too long to show or to keep).
#include "exchange/CsvFile.h"
#include "exchange/GuestImport.h"

#include "tests/exchange/ExchangeFixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

using namespace exchange;

namespace {

// The message readImportFile refuses the path with ("" when it reads it).
QString refusal(const QString& path, qint64 maxBytes = MaxImportBytes)
{
    try {
        readImportFile(path, maxBytes);
    } catch (const ExchangeError& e) {
        return e.message();
    }
    return {};
}

}  // namespace

TEST(FileKinds, FoldersDevicesPipesAndMissingFilesAreEachNamedForWhatTheyAre)
{
    QTemporaryDir dir;
    EXPECT_TRUE(refusal(dir.filePath("gone.csv")).contains("does not exist"));
    EXPECT_TRUE(refusal(dir.path()).contains("is a folder")) << refusal(dir.path()).toStdString();
    EXPECT_TRUE(refusal("/dev/null").contains("is not a regular file"));
    const QString pipe = dir.filePath("guests.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Refused before it is opened: reading a pipe would wait for a writer for ever.
    EXPECT_TRUE(refusal(pipe).contains("is not a regular file"));
}

TEST(FileKinds, BinaryFilesAreRefusedAsNotTextButTextWithAStrayZeroByteIsRead)
{
    QByteArray database("SQLite format 3\0", 16);
    database += QByteArray(4080, '\0');
    const exchangetest::TempFile wedding("wedding.csv", database);
    EXPECT_TRUE(refusal(wedding.path()).contains("not a text file")) << refusal(wedding.path()).toStdString();
    EXPECT_TRUE(refusal(wedding.path()).contains("database"));

    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_TRUE(refusal(program).contains("a program")) << refusal(program).toStdString();

    QByteArray blob;
    for (int i = 0; i < 4096; ++i)
        blob += char((i * 37) % 256);
    const exchangetest::TempFile data("list.csv", blob);
    EXPECT_TRUE(refusal(data.path()).contains("not a text file"));

    // Text is text in any of the encodings read, with a few odd bytes in it.
    const QString names = QStringLiteral("Name,City\nChloé Schäfer,Zürich\n");
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : names)
        utf16 += QByteArray::fromRawData(reinterpret_cast<const char*>(&c), 2);
    const exchangetest::TempFile wide("wide.csv", utf16);
    EXPECT_EQ(refusal(wide.path()), QString());
    const exchangetest::TempFile stray("stray.csv",
                                       QByteArray("Name,City\nAnna Berg,Os\0lo\nPer Lie,Bergen\n", 41));
    EXPECT_EQ(refusal(stray.path()), QString());
}

TEST(FileKinds, AListLargerThanTheLimitIsRefusedBeforeItIsRead)
{
    const exchangetest::TempFile small("small.csv", "Name\n" + QByteArray(195, 'a'));
    EXPECT_EQ(refusal(small.path(), 200), QString());
    const QString over = refusal(small.path(), 199);
    EXPECT_TRUE(over.contains("200 bytes") && over.contains("199 bytes")) << over.toStdString();

    // A sparse file of 3 GB: refused from its size, without reading (or holding) it.
    QTemporaryDir dir;
    QFile huge(dir.filePath("huge.csv"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(3LL * 1024 * 1024 * 1024));
    huge.close();
    const QString message = refusal(huge.fileName());
    EXPECT_TRUE(message.contains("3.0 GB") && message.contains("64.0 MB")) << message.toStdString();
}

TEST(Quotes, AQuoteNeverClosedSpoilsOnlyItsOwnRowAndNamesTheLineItOpensOn)
{
    const CsvTable t = readCsv(
        "Name,City,Note\n"
        "Anna Berg,Oslo,\"two\nlines\"\n"  // lines 2-3: a quoted field that is closed
        "Per Lie,\"Bergen,x\n"             // line 4: opened, never closed
        "Eva Dahl,Molde,\n"
        "Ola Nor,Bodø,\"Tromsø\n"  // line 6: another one
        "Kari Vik,Narvik,\n");
    ASSERT_EQ(t.rows.size(), 5) << "the rows after a broken one are rows of their own";
    EXPECT_EQ(t.rows[0], (QStringList{"Anna Berg", "Oslo", "two\nlines"}));
    EXPECT_EQ(t.rows[1], (QStringList{"Per Lie", "Bergen,x", ""}));
    EXPECT_EQ(t.rows[2], (QStringList{"Eva Dahl", "Molde", ""}));
    EXPECT_EQ(t.rows[4], (QStringList{"Kari Vik", "Narvik", ""}));
    ASSERT_EQ(t.rowFaults.size(), 2);
    EXPECT_TRUE(t.rowFaults.value(1).contains("line 4")) << t.rowFaults.value(1).toStdString();
    EXPECT_TRUE(t.rowFaults.value(3).contains("line 6")) << t.rowFaults.value(3).toStdString();

    // The same with CRLF line ends and the quote on the very last line, without its end.
    const CsvTable last = readCsv("Name,City\r\nAnna Berg,Oslo\r\nPer Lie,\"Bergen");
    ASSERT_EQ(last.rows.size(), 2);
    EXPECT_TRUE(last.rowFaults.value(1).contains("line 3"));

    ImportSettings settings;
    settings.mapping = guessMapping(t.headers);
    const ImportReview review = reviewImport(t, settings, {});
    const ReviewRow& broken = review.rows[1];
    ASSERT_FALSE(broken.problems.empty());
    EXPECT_EQ(broken.problems.front().kind, ProblemKind::BadRow);
    EXPECT_TRUE(broken.problems.front().text().contains("line 4"));
    EXPECT_FALSE(broken.fixable()) << "a broken row is never imported";
    EXPECT_EQ(review.problemCount(), 2);
}

TEST(Cells, CountsAreWrittenInDigits)
{
    for (const char* bad : {"1e3", "1E3", "0x10", "inf", "nan", "1,000", "2.5", "-0", "99999999"})
        EXPECT_FALSE(readCount(bad).ok) << bad;
    EXPECT_EQ(readCount("+3").value, 3);
    EXPECT_EQ(readCount("2.").value, 2);
    EXPECT_EQ(readCount("007").value, 7);
    EXPECT_EQ(readCount("1000000").value, 1000000);
}

TEST(Cells, TextsAreShortenedAtCharacterBoundariesAndShownShort)
{
    // U+1F470 U+1F3FD: the bride with a skin tone, four UTF-16 units that are one character.
    const QString bride = QString::fromUtf8("Zo\xC3\xAB \xF0\x9F\x91\xB0\xF0\x9F\x8F\xBD");
    for (qsizetype n = 0; n <= bride.size(); ++n) {
        const QString cut = shortenText(bride, n);
        EXPECT_LE(cut.size(), n);
        EXPECT_TRUE(cut.isValidUtf16()) << n;
        EXPECT_TRUE(bride.startsWith(cut));
    }
    EXPECT_EQ(shortenText(bride, 6), QString::fromUtf8("Zo\xC3\xAB ")) << "the emoji goes whole";
    const QString decomposed = QStringLiteral("Zoe\u0308");  // e and a combining diaeresis
    EXPECT_EQ(shortenText(decomposed, 3), "Zo");

    const QString huge(5 * 1024 * 1024, QLatin1Char('a'));
    const QString shown = shownText(huge);
    EXPECT_EQ(shown.size(), 101);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_EQ(shownText(QString::fromUtf8("Os\0lo", 5)), QString::fromUtf8("Os\xEF\xBF\xBDlo"));

    // A header is a column's name, shown and remembered: control codes show, pages are cut.
    const CsvTable t =
        readCsv(QByteArray("N\0me,", 5) + QByteArray(1000, 'x') + "\nAnna Berg,1\n", {{}, ',', true});
    EXPECT_EQ(t.headers[0], QString::fromUtf8("N\xEF\xBF\xBDme"));
    EXPECT_EQ(t.headers[1].size(), 255);
}
