// Exports of the four lists: CSV that spreadsheets open with accents intact, XLSX with
// typed cells read back by an independent reader, and the round trip through the import.
#include "exchange/Export.h"
#include "exchange/GuestImport.h"
#include "shell/Paths.h"

#include "tests/exchange/ExchangeFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

using namespace exchange;
using exchangetest::fileBytes;

namespace {

class Export : public exchangetest::WeddingTest {
protected:
    void SetUp() override
    {
        WeddingTest::SetUp();
        auto guests = db().openRecordset("Guests");
        guests->addNew();
        guests->setValue("Prefix", "Dr.");
        guests->setValue("FirstName", "Zoë");
        guests->setValue("LastName", "Castellanos");
        guests->setValue("Address", "88 Rue Saint-Denis, Apt 2");
        guests->setValue("guestof", "Bride");
        guests->setValue("InvCeremony", true);
        guests->setValue("Invited", 2);
        guests->setValue("wedamt", store::Currency::fromRaw(1234500));
        guests->update();
        addParty("Liam", "O'Connell", "9 Old Mill Road");
        addParty("", "Haddad");
        auto expenses = db().openRecordset("Expenses");
        expenses->addNew();
        expenses->setValue("Description", "Flowers");
        expenses->setValue("Amount", store::Currency::fromRaw(125000));
        expenses->setValue("Quantity", 2);
        expenses->setValue("Total", store::Currency::fromRaw(250000));
        expenses->update();
        db().execute("UPDATE Checklist SET DueDate = #2026-05-01#, Done = True");
    }

    // The workbook as openpyxl reads it: {"freeze": ..., "rows": [[{"v":..., "t":..., "f":...}]]}.
    QJsonObject readWorkbook(const QString& path)
    {
        const char* script = R"(
import json, sys, datetime, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
rows = []
for row in ws.iter_rows():
    cells = []
    for c in row:
        v = c.value
        t = type(v).__name__
        if isinstance(v, datetime.datetime): v = v.isoformat()
        cells.append({"v": v, "t": t, "f": c.number_format})
    rows.append(cells)
print(json.dumps({"title": ws.title, "freeze": ws.freeze_panes, "rows": rows,
                  "width": ws.column_dimensions["D"].width}))
)";
        QProcess python;
        python.start("/usr/bin/python3", {"-c", script, path});
        python.waitForFinished(60000);
        const QByteArray out = python.readAllStandardOutput();
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(out).object();
    }
};

int column(const QJsonArray& header, const QString& caption)
{
    for (int i = 0; i < header.size(); ++i)
        if (header[i].toObject()["v"].toString() == caption)
            return i;
    return -1;
}

}  // namespace

TEST_F(Export, CsvCarriesABomTheWindowsCaptionsAndPlainValues)
{
    const QString path = tempPath("guests.csv");
    EXPECT_EQ(exportList(db(), ExportList::Guests, path), 3);
    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFTitle,FirstName,LastName,Address,City,State,Zip/Postal Code"));
    const CsvTable t = readCsv(bytes);
    ASSERT_EQ(t.rows.size(), 3);
    // In the guest window's order: by last name.
    EXPECT_EQ(t.rows[0][2], "Castellanos");
    EXPECT_EQ(t.rows[1][2], "Haddad");
    EXPECT_EQ(t.rows[2][2], "O'Connell");
    EXPECT_EQ(t.rows[0][1], "Zoë");
    EXPECT_EQ(t.rows[0][3], "88 Rue Saint-Denis, Apt 2");
    EXPECT_EQ(t.rows[0][t.headers.indexOf("Ceremony")], "Yes");
    EXPECT_EQ(t.rows[0][t.headers.indexOf("Reception Gift Amount")], "123.45");

    exportList(db(), ExportList::Expenses, tempPath("expenses.csv"));
    const CsvTable e = readCsv(fileBytes(tempPath("expenses.csv")));
    EXPECT_EQ(e.headers, (QStringList{"Description", "Unit  Cost", "Qty", "Deposit", "Paid", "Total", "Owing",
                                      "Category", "Estimate", "Vendor", "Next Due"}));
    EXPECT_EQ(e.rows.last(), (QStringList{"Flowers", "12.50", "2", "", "", "25.00", "", "", "", "", ""}));

    exportList(db(), ExportList::Checklist, tempPath("tasks.csv"));
    const CsvTable c = readCsv(fileBytes(tempPath("tasks.csv")));
    EXPECT_EQ(c.headers, (QStringList{"Done?", "CheckItem", "Due Date", "Date Done"}));
    EXPECT_EQ(c.rows.first()[0], "Yes");
    EXPECT_EQ(c.rows.first()[2], "2026-05-01");

    EXPECT_EQ(exportList(db(), ExportList::Vendors, tempPath("vendors.csv")), 0);
    EXPECT_EQ(readCsvFile(tempPath("vendors.csv")).headers.first(), "Vendor Name")
        << "an empty list keeps its header";
    EXPECT_THROW(exportList(db(), ExportList::Vendors, tempPath("vendors.pdf")), ExchangeError);
    EXPECT_THROW(exportList(db(), ExportList::Vendors, tempPath("no/such/folder/vendors.csv")),
                 ExchangeError);
}

TEST_F(Export, GuestsExportedAndImportedAgainAreAllDuplicates)
{
    exportList(db(), ExportList::Guests, tempPath("guests.csv"));
    const CsvTable t = readCsvFile(tempPath("guests.csv"));
    ImportSettings settings{guessMapping(t.headers), {}, {}};
    for (GuestField f : {GuestField::Prefix, GuestField::FirstName, GuestField::LastName, GuestField::Side,
                         GuestField::Invited, GuestField::Confirmed, GuestField::WeddingLabel})
        EXPECT_NE(std::find(settings.mapping.begin(), settings.mapping.end(), f), settings.mapping.end())
            << "the export's own headers are recognised: " << fieldInfo(f).caption.toStdString();
    const ImportReview r = reviewImport(t, settings, loadGuestList(db()));
    EXPECT_EQ(r.duplicateCount(), 3);
    EXPECT_EQ(r.newCount(), 0);
    EXPECT_EQ(r.problemCount(), 0);
    EXPECT_EQ(runImport(db(), r, nullptr).added, 0);
    EXPECT_EQ(guestCount(), 3);
}

TEST_F(Export, AWorkbookHasTypedCellsAFrozenHeaderAndWidths)
{
    const QString path = tempPath("guests.xlsx");
    exportList(db(), ExportList::Guests, path);
    QJsonObject wb = readWorkbook(path);
    EXPECT_EQ(wb["title"].toString(), "Guests");
    EXPECT_EQ(wb["freeze"].toString(), "A2");
    EXPECT_GE(wb["width"].toDouble(), 20.0) << "the address column is wide enough to read";
    QJsonArray rows = wb["rows"].toArray();
    ASSERT_EQ(rows.size(), 4);
    QJsonArray header = rows[0].toArray();
    const QJsonArray zoe = rows[1].toArray();
    EXPECT_EQ(zoe[column(header, "FirstName")].toObject()["v"].toString(), "Zoë");
    const QJsonObject ceremony = zoe[column(header, "Ceremony")].toObject();
    EXPECT_EQ(ceremony["t"].toString(), "bool");
    EXPECT_TRUE(ceremony["v"].toBool());
    const QJsonObject invited = zoe[column(header, "Total people invited")].toObject();
    EXPECT_EQ(invited["v"].toDouble(), 2.0);
    const QJsonObject gift = zoe[column(header, "Reception Gift Amount")].toObject();
    EXPECT_EQ(gift["t"].toString(), "float");
    EXPECT_DOUBLE_EQ(gift["v"].toDouble(), 123.45);
    EXPECT_TRUE(gift["f"].toString().contains("$#,##0.00"));

    exportList(db(), ExportList::Checklist, tempPath("tasks.xlsx"));
    rows = readWorkbook(tempPath("tasks.xlsx"))["rows"].toArray();
    header = rows[0].toArray();
    const QJsonObject due = rows[1].toArray()[column(header, "Due Date")].toObject();
    EXPECT_EQ(due["t"].toString(), "datetime");
    EXPECT_EQ(due["v"].toString(), "2026-05-01T00:00:00");
    EXPECT_EQ(rows[1].toArray()[column(header, "Done?")].toObject()["t"].toString(), "bool");
}

TEST_F(Export, WithoutTheWorkbookModuleAWorkbookIsRefusedInWordsAndNoFileIsLeft)
{
    QTemporaryDir empty;
    shell::setModuleDirectory(empty.path());
    const QString path = tempPath("guests.xlsx");
    try {
        exportList(db(), ExportList::Guests, path);
        ADD_FAILURE() << "the export claimed success";
    } catch (const ExchangeError& e) {
        EXPECT_TRUE(e.message().contains("orvane_xlsx could not be loaded")) << e.message().toStdString();
    }
    shell::setModuleDirectory(testsupport::binDir());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(
        QDir(QFileInfo(path).absolutePath()).entryList({"*.part-*"}, QDir::Hidden | QDir::Files).isEmpty());
    EXPECT_EQ(exportList(db(), ExportList::Guests, path), 3) << "with the module back, the same export works";
}

TEST_F(Export, TextsThatLookLikeFormulasStayTextInBothFormats)
{
    addParty("=HYPERLINK(\"x\")", "+Lund", "-1 Main Street");
    db().execute("UPDATE Guests SET City = '@SUM(A1)', HomePhone = ? WHERE LastName = '+Lund'", {"\t=1+1"});
    db().execute("UPDATE Expenses SET Amount = -12.5, Paid = -3");
    const QString csv = tempPath("guests.csv");
    exportList(db(), ExportList::Guests, csv);
    const CsvTable t = readCsv(fileBytes(csv));
    const qsizetype last = t.headers.indexOf("LastName");
    QStringList lund;
    for (const QStringList& row : t.rows)
        if (row[last] == "'+Lund")
            lund = row;
    ASSERT_FALSE(lund.isEmpty());
    EXPECT_EQ(lund[t.headers.indexOf("FirstName")], "'=HYPERLINK(\"x\")");
    EXPECT_EQ(lund[t.headers.indexOf("Address")], "'-1 Main Street");
    EXPECT_EQ(lund[t.headers.indexOf("City")], "'@SUM(A1)");
    EXPECT_EQ(lund[t.headers.indexOf("Phone")], "'\t=1+1");
    EXPECT_EQ(t.rows[1][last], "Castellanos") << "plain texts stay as they are";
    // Numbers, money and dates stay plain values, also when negative.
    exportList(db(), ExportList::Expenses, tempPath("expenses.csv"));
    const CsvTable e = readCsv(fileBytes(tempPath("expenses.csv")));
    EXPECT_EQ(e.rows.last()[e.headers.indexOf("Unit  Cost")], "-12.50");
    EXPECT_EQ(e.rows.last()[e.headers.indexOf("Paid")], "-3.00");
    // The apostrophe comes off again when such a cell is read back, so that the export imported
    // again finds the party it came from.
    EXPECT_EQ(unguardedText("'+Lund"), "+Lund");
    EXPECT_EQ(unguardedText("'Tis the season"), "'Tis the season");
    ImportSettings settings{guessMapping(t.headers), {}, {}};
    const ImportReview again = reviewImport(t, settings, loadGuestList(db()));
    EXPECT_EQ(again.newCount(), 0);
    EXPECT_EQ(again.duplicateCount(), 4);

    // In a workbook the same texts are string cells, never formulas.
    exportList(db(), ExportList::Guests, tempPath("guests.xlsx"));
    const QJsonArray rows = readWorkbook(tempPath("guests.xlsx"))["rows"].toArray();
    const QJsonArray header = rows[0].toArray();
    const QJsonArray cells = rows[1].toArray();
    EXPECT_EQ(cells[column(header, "LastName")].toObject()["v"].toString(), "+Lund");
    const QJsonObject first = cells[column(header, "FirstName")].toObject();
    EXPECT_EQ(first["t"].toString(), "str");
    EXPECT_EQ(first["v"].toString(), "=HYPERLINK(\"x\")");
}

TEST_F(Export, ATextLongerThanACellHoldsIsCutWholeCharactersAndSaidSo)
{
    // 32,766 letters, then emoji: the cut falls after the first emoji, never inside one.
    const QString notes = QString(MaxCellCharacters - 1, QLatin1Char('a')) + QString::fromUtf8("💍💍💍") +
                          QString(7000, QLatin1Char('b'));
    db().execute("INSERT INTO Vendors (VendorName, Notes) VALUES ('Long Notes Ltd', ?)", {notes});
    QStringList cut;
    EXPECT_EQ(exportList(db(), ExportList::Vendors, tempPath("vendors.xlsx"), &cut), 1);
    ASSERT_EQ(cut.size(), 1);
    EXPECT_TRUE(
        cut[0].contains("Row 1, column \"Additional Notes\": the text of 39769 characters was cut to "
                        "32767"))
        << cut[0].toStdString();
    const QJsonArray rows = readWorkbook(tempPath("vendors.xlsx"))["rows"].toArray();
    const QString written =
        rows[1].toArray()[column(rows[0].toArray(), "Additional Notes")].toObject()["v"].toString();
    EXPECT_EQ(written.toUcs4().size(), MaxCellCharacters);
    EXPECT_TRUE(written.endsWith(QString::fromUtf8("a💍")));
    EXPECT_EQ(rows[1].toArray()[0].toObject()["v"].toString(), "Long Notes Ltd");

    // CSV has no such limit: the whole text is written.
    cut.clear();
    exportList(db(), ExportList::Vendors, tempPath("vendors.csv"), &cut);
    EXPECT_TRUE(cut.isEmpty());
    EXPECT_EQ(readCsv(fileBytes(tempPath("vendors.csv"))).rows[0][10], notes);
}

TEST_F(Export, AnExportNeverReplacesTheWeddingFileOrABackup)
{
    const QByteArray before = fileBytes(path());
    const QString link = tempPath("guests.csv");
    ASSERT_TRUE(QFile::link(path(), link));
    const QString xlsxLink = tempPath("guests.xlsx");
    ASSERT_TRUE(QFile::link(path(), xlsxLink));
    for (const QString& out : {link, xlsxLink}) {
        try {
            exportList(db(), ExportList::Guests, out);
            ADD_FAILURE() << "wrote over the wedding through " << out.toStdString();
        } catch (const ExchangeError& e) {
            EXPECT_TRUE(e.message().contains("is the wedding file itself")) << e.message().toStdString();
        }
    }
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}
