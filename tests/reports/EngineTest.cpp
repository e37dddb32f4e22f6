// The report engine on the sample wedding: which rows each report prints, how the pages
// and label sheets are laid out, and what reaches a PDF file.
#include "controls/Dialogs.h"
#include "reports/ReportEngine.h"
#include "reports/ReportError.h"
#include "reports/ReportOutput.h"
#include "tests/reports/WeddingFixture.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <map>

using reports::ReportPages;

namespace {

QStringList labelStocks()
{
    return {"5160", "5161", "5162", "5260", "5261", "5262", "5660", "5662", "5663"};
}

class ReportEngineTest : public WeddingFixture {
protected:
    // Every text printed on the pages.
    static QStringList pageTexts(const ReportPages& pages)
    {
        QStringList out;
        for (const reports::Page& page : pages.pages)
            for (const reports::PageText& t : page.texts)
                out << t.text;
        return out;
    }

    // The guests' names as the guest and seating reports print them, for the guests `where` selects.
    QStringList partyNames(const QString& where)
    {
        QStringList names = texts(
            "SELECT trim(IFNULL(Prefix || ' ', '') || IFNULL(FirstName || ' ', '') || LastName) "
            "FROM Guests WHERE " +
            where);
        names.sort();
        return names;
    }

    // The names among the printed texts, sorted (a name printed twice counts twice).
    QStringList printedNames(const ReportPages& pages)
    {
        const QStringList all = partyNames("1");
        QStringList found;
        for (const QString& t : pageTexts(pages))
            if (all.contains(t))
                found << t;
        found.sort();
        return found;
    }

    QString errorOf(const QString& name, const QString& formula = QString())
    {
        try {
            report(name, formula);
        } catch (const reports::ReportError& e) {
            return e.description();
        }
        return {};
    }
};

TEST_F(ReportEngineTest, GuestListPrintsExactlyThePartiesEachFormulaMeans)
{
    EXPECT_EQ(printedNames(report("guests.rpt")).size(), 40);
    const std::map<QString, QString> events{{"InvCeremony", "InvCeremony"},
                                            {"InvReception", "InvReception"},
                                            {"ShowerGuest", "ShowerGuest"},
                                            {"InvRehearsal", "InvRehearsal"}};
    for (const auto& [field, column] : events) {
        SCOPED_TRACE(field.toStdString());
        const QStringList invited = partyNames(column + " = 1");
        const QStringList notInvited = partyNames(column + " = 0");
        ASSERT_FALSE(invited.isEmpty());
        EXPECT_EQ(printedNames(report("guests.rpt", "{Guests." + field + "} = True")), invited);
        EXPECT_EQ(printedNames(report("guests.rpt", "{Guests." + field + "} = False")), notInvited);
    }
    // Both Mr. and Mrs. John Smiths are listed: nothing is merged.
    EXPECT_EQ(
        printedNames(report("guests.rpt", "{Guests.ShowerGuest} = False")).count("Mr. and Mrs. John Smith"),
        1);
    EXPECT_EQ(printedNames(report("guests.rpt")).count("Mr. and Mrs. John Smith"), 2);
}

TEST_F(ReportEngineTest, GuestListShowsAddressesInvitationsRepliesAndPageHeaders)
{
    const ReportPages pages = report("guests.rpt");
    ASSERT_GE(pages.pages.size(), 2u);
    const QStringList first = pages.lines(0);
    EXPECT_EQ(first[0], "The wedding of Emma Collins and Daniel Reyes | Friday, May 1, 2026");
    EXPECT_EQ(first[1], "Guest List");
    EXPECT_EQ(first[2], "Name | Address | Side | Invited to | Reception | Shower");
    EXPECT_EQ(first[3], "Invited | Replied | Coming | Invited | Replied | Coming");
    const QStringList lines = allLines(pages);
    // A party's row: its name, address lines, side, invitations and replies.
    const int muller = int(lines.indexOf(QRegularExpression("^Dr. Anneliese M.*")));
    ASSERT_GT(muller, 0);
    EXPECT_EQ(lines.mid(muller, 3),
              QStringList({QString::fromUtf8("Dr. Anneliese Müller | Hauptstraße 5 | Groom | "
                                             "Ceremony | 2 | 0 | 0 | 0"),
                           "Toronto, ON  M5V 2T6 | Reception", "Canada"}));
    for (int i = 0; i < int(pages.pages.size()); ++i)
        EXPECT_EQ(pages.lines(i).last(), QString("Page %1 of %2").arg(i + 1).arg(pages.pages.size()));
    // The totals at the end add up the whole list.
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("Totals | "));
    EXPECT_TRUE(allLines(pages).join("\n").contains(
        QString("Totals | %1 | %2 | %3")
            .arg(number("SELECT sum(Invited) FROM Guests"))
            .arg(number("SELECT count(*) FROM Guests WHERE Confirmed = 1"))
            .arg(number("SELECT sum(NumberAttending) FROM Guests"))));
}

TEST_F(ReportEngineTest, ExpensesSelectByWhatIsOwingAndEndWithGrandTotals)
{
    const auto descriptions = [&](const QString& formula) {
        QStringList found;
        const QStringList all = texts("SELECT Description FROM Expenses");
        for (const QString& t : pageTexts(report("expense.rpt", formula)))
            if (all.contains(t))
                found << t;
        return found;
    };
    QStringList owing = texts("SELECT Description FROM Expenses WHERE Owing > 0 ORDER BY Description");
    EXPECT_EQ(owing.size(), 15);
    EXPECT_EQ(descriptions("{Expenses.Owing} > 0"), owing);
    EXPECT_EQ(descriptions("{Expenses.Owing} = 0"),
              QStringList({"Honeymoon flights", "Marriage license", "Postage", "Wedding dress"}));
    EXPECT_EQ(descriptions("").size(), 20);

    // Sums are exact: 4500 + 120 x 62.50 + ... with every cent.
    const QStringList lines = allLines(report("expense.rpt", "{Expenses.Owing} > 0"));
    EXPECT_TRUE(
        lines.contains("Catering per guest | $62.50 | 120 | $7,500.00 | $2,000.00 | $0.00 | $5,500.00"))
        << lines.join("\n").toStdString();
    const QStringList all = allLines(report("expense.rpt"));
    const int totalsAt = int(all.indexOf(QRegularExpression("^Grand Total.*")));
    ASSERT_GT(totalsAt, 0);
    EXPECT_EQ(all[totalsAt], "Grand Total | $29,490.17 | $4,450.00 | $4,145.70 | $20,894.47");
    // Amounts not yet worked out total $0.00, not a bare 0.
    sql("UPDATE Expenses SET Total = NULL, Owing = NULL");
    EXPECT_TRUE(
        allLines(report("expense.rpt")).contains("Grand Total | $0.00 | $4,450.00 | $4,145.70 | $0.00"));
}

TEST_F(ReportEngineTest, ChecklistIsSortedByDueDateWithDoneMarksAndUndatedTasksLast)
{
    sql("INSERT INTO Checklist (CheckItem, checktime, Done) VALUES ('Write the thank-you cards', 0, 0)");
    const ReportPages all = report("checklst.rpt");
    QList<QDate> due;
    const QStringList tasks = texts("SELECT CheckItem FROM Checklist");
    QString lastTask;
    for (const QString& line : allLines(all)) {
        const QStringList cells = line.split(" | ");
        const auto task =
            std::find_if(cells.begin(), cells.end(), [&](const QString& c) { return tasks.contains(c); });
        if (task == cells.end())
            continue;
        lastTask = *task;
        if (task + 1 != cells.end())
            due << QDate::fromString(*(task + 1), "M/d/yyyy");
    }
    EXPECT_EQ(due.size(), 50);
    EXPECT_TRUE(std::is_sorted(due.begin(), due.end()));
    EXPECT_EQ(lastTask, "Write the thank-you cards");

    const auto count = [&](const QString& formula) {
        int n = 0;
        for (const QString& t : pageTexts(report("checklst.rpt", formula)))
            n += tasks.contains(t);
        return n;
    };
    const int done = int(number("SELECT count(*) FROM Checklist WHERE Done = 1"));
    ASSERT_GT(done, 0);
    EXPECT_EQ(count("{Checklist.Done} = True"), done);
    EXPECT_EQ(count("{Checklist.done} = False"), 51 - done);
    // A done task shows its mark, its due date and the date it was done.
    EXPECT_TRUE(allLines(report("checklst.rpt", "{Checklist.Done} = True"))
                    .contains(QString::fromUtf8(
                        "✓ | Set a budget and decide who contributes to it | 3/24/2026 | 3/22/2026")));
}

TEST_F(ReportEngineTest, SeatingIsGroupedByTableOrListsThePartiesWithoutOne)
{
    const QStringList seated = allLines(report("seating.rpt", "{Guests.tableid} > 0"));
    const QStringList expected{
        "Table 1: Head Table      Seats: 8      People: 3",
        "Ms. Siobhan O'Brien | Bride | 1 | 1 | 1",
        "Mr. and Mrs. John Smith | Bride | 2 | 2 | 2",
        "Total | 3 | 3 | 3",
        "Table 2: Table #2      Seats: 8      People: 3",
        "Mr. Kwame Mensah | Groom | 1 | 1 | 1",
        "Mr. and Mrs. John Smith | Groom | 2 | 2 | 2",
        "Total | 3 | 3 | 3",
        "Table 3: Family      Seats: 10      People: 3",
        QString::fromUtf8("Mrs. Lan Nguyễn | Both | 4 | 3 | 3"),
        "Total | 4 | 3 | 3",
        "Table 4: Table #4      Seats: 8      People: 5",
        QString::fromUtf8("Mr. and Mrs. Robert Castellano-Díaz | Bride | 5 | 5 | 5"),
        "Total | 5 | 5 | 5",
        "All tables | 15 | 14 | 14",
    };
    EXPECT_EQ(seated.mid(3, expected.size()), expected) << seated.join("\n").toStdString();

    const ReportPages unseated = report("seating.rpt", "{Guests.tableid} = 0");
    EXPECT_EQ(unseated.lines(0)[3], "Parties without a table");
    EXPECT_EQ(printedNames(unseated), partyNames("tableid = 0"));
    EXPECT_EQ(unseated.rowCount, 34);
}

TEST_F(ReportEngineTest, LabelsPrintTheMarkedPartiesWithTheirAddresses)
{
    sql("UPDATE Guests SET printit = (LastName IN ('O''Brien', 'Müller', 'Smith'))");
    const ReportPages sheet = report("lbl5160.rpt");
    ASSERT_EQ(sheet.pages.size(), 1u);
    ASSERT_EQ(sheet.pages[0].labels.size(), 4u);
    // Sorted by last name, then first name; the two John Smiths are two labels.
    EXPECT_EQ(sheet.labelLines(0, 0),
              QStringList({QString::fromUtf8("Dr. Anneliese Müller"), QString::fromUtf8("Hauptstraße 5"),
                           "Toronto, ON  M5V 2T6", "Canada"}));
    EXPECT_EQ(sheet.labelLines(0, 1),
              QStringList({"Ms. Siobhan O'Brien", "7 Harbour Road", "Boston, MA  02108", "USA"}));
    EXPECT_EQ(sheet.labelLines(0, 2)[0], "Mr. and Mrs. John Smith");
    EXPECT_EQ(sheet.labelLines(0, 3)[0], "Mr. and Mrs. John Smith");
    // Shower labels print the shower line.
    EXPECT_EQ(report("shw5160.rpt").labelLines(0, 1)[0], "Ms. O'Brien");
    // A label without a country or a label line prints what it has.
    sql("UPDATE Guests SET Country = NULL, wedlbl = '' WHERE LastName = 'O''Brien'");
    EXPECT_EQ(report("lbl5160.rpt").labelLines(0, 1), QStringList({"7 Harbour Road", "Boston, MA  02108"}));
}

TEST_F(ReportEngineTest, LabelsInALargeFontAreScaledDownToFitNotClipped)
{
    sql("UPDATE Guests SET printit = 1");
    const QString big = "DETAIL;DejaVu Serif;28;True;True;False;False";
    const ReportPages sheet = report("lbl5160.rpt", QString(), big);
    ASSERT_EQ(sheet.pages.size(), 2u);
    const reports::Page& page = sheet.pages[0];
    int checked = 0;
    for (const reports::PageText& t : page.texts) {
        const auto box = std::find_if(page.labels.begin(), page.labels.end(),
                                      [&](const QRectF& r) { return r.contains(t.baseline); });
        ASSERT_NE(box, page.labels.end()) << t.text.toStdString();
        const QFont& font = sheet.fonts[t.font];
        EXPECT_LT(font.pointSizeF(), 28);
        EXPECT_EQ(font.family(), "DejaVu Serif");
        EXPECT_TRUE(font.bold() && font.italic());
        const double right = t.baseline.x() + reports::TextMeasure(font).width(t.text);
        EXPECT_LE(right, box->right() - 4.4) << t.text.toStdString();
        EXPECT_GE(t.baseline.y() - reports::TextMeasure(font).ascent(), box->top() + 4.4);
        ++checked;
    }
    EXPECT_GT(checked, 100);
    // List reports keep the font their columns were measured for.
    EXPECT_EQ(report("guests.rpt", QString(), big).fonts[0].family(), "DejaVu Sans");
}

TEST_F(ReportEngineTest, LabelOriginsMatchEveryStockWithinAHundredthOfAnInch)
{
    struct Stock {
        QStringList numbers;
        double width, height;
        int across, down;
        double left, top, pitchAcross, pitchDown;
    };
    const Stock stocks[] = {
        {{"5160", "5260", "5660"}, 2.625, 1, 3, 10, 0.15625, 0.5, 2.78125, 1},
        {{"5161", "5261"}, 4, 1, 2, 10, 0.15625, 0.5, 4.1875, 1},
        {{"5162", "5262", "5662"}, 4, 1.333333, 2, 7, 0.15625, 0.833333, 4.1875, 1.333333},
        {{"5663"}, 4.25, 2, 2, 5, 0, 0.5, 4.25, 2},
    };
    sql("UPDATE Guests SET printit = 1");
    for (const Stock& stock : stocks) {
        for (const QString& number : stock.numbers) {
            for (const QString kind : {"lbl", "shw"}) {
                SCOPED_TRACE((kind + number).toStdString());
                const ReportPages sheet = report(kind + number + ".rpt");
                EXPECT_EQ(sheet.size, QSizeF(612, 792));
                const int perSheet = stock.across * stock.down;
                ASSERT_EQ(sheet.pages.size(), size_t((40 + perSheet - 1) / perSheet));
                const std::vector<QRectF>& labels = sheet.pages[0].labels;
                ASSERT_EQ(labels.size(), size_t(std::min(40, perSheet)));
                for (int i = 0; i < int(labels.size()); ++i) {
                    const QRectF inches(labels[i].topLeft() / 72.0, labels[i].size() / 72.0);
                    EXPECT_NEAR(inches.left(), stock.left + (i % stock.across) * stock.pitchAcross, 0.01)
                        << i;
                    EXPECT_NEAR(inches.top(), stock.top + (i / stock.across) * stock.pitchDown, 0.01) << i;
                    EXPECT_NEAR(inches.width(), stock.width, 0.01);
                    EXPECT_NEAR(inches.height(), stock.height, 0.01);
                }
            }
        }
    }
}

TEST_F(ReportEngineTest, APdfFileHoldsThePagesAndTheirText)
{
    // poppler-utils is among the packages tools/build.sh installs: without it this test fails.
    ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty() ||
                 QStandardPaths::findExecutable("pdfinfo").isEmpty())
        << "poppler-utils is not installed (bash tools/build.sh test installs it)";
    reports::ReportEngine engine;
    engine.setReportFileName(templatePath("guests.rpt"));
    engine.setSelectionFormula("{Guests.ShowerGuest} = True");
    engine.setDestination(reports::ReportEngine::Destination::File);
    engine.setPrintFileName(dir_->file("shower.pdf"));
    engine.run();
    QProcess info;
    info.start("pdfinfo", {dir_->file("shower.pdf")});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(
        QString::fromUtf8(info.readAllStandardOutput())
            .contains(QRegularExpression(QString("Pages:\\s+%1\\n").arg(engine.lastPages().pages.size()))));
    QProcess text;
    text.start("pdftotext", {"-layout", dir_->file("shower.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString& name : partyNames("ShowerGuest = 1"))
        EXPECT_TRUE(printed.contains(name)) << name.toStdString();
    EXPECT_FALSE(printed.contains("Anneliese"));
    EXPECT_TRUE(printed.contains(QString::fromUtf8("Nguyễn")));
}

TEST_F(ReportEngineTest, TemplatesAndFormulasCanNeitherBreakOutNorChangeTheWedding)
{
    const qint64 guests = number("SELECT count(*) FROM Guests");
    const auto writeTemplate = [&](const QString& name, const QString& text) {
        QFile f(templatePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    };
    writeTemplate(
        "evil.rpt",
        "[report]\ntitle = x\nsource = Guests\nselect = {Guests.printit} = True); DELETE FROM Guests; --\n"
        "[column]\nwidth = 1\ntext = {Guests.LastName}\n");
    EXPECT_TRUE(errorOf("evil.rpt")
                    .contains(templatePath("evil.rpt") + ", line 4: The selection formula cannot be read"));
    writeTemplate("evil2.rpt",
                  "[report]\ntitle = x\nsource = Guests\nsort = {Guests.LastName}\n"
                  "[column]\nwidth = 1\ntext = {Guests.LastName\"); DROP TABLE Guests; --}\n");
    EXPECT_TRUE(errorOf("evil2.rpt").contains(", line 7: a table or field name holds only"));
    writeTemplate(
        "evil3.rpt",
        "[report]\ntitle = x\nsource = sqlite_master\n[column]\nwidth = 1\ntext = {sqlite_master.sql}\n");
    EXPECT_TRUE(errorOf("evil3.rpt").contains(", line 3: the table or query sqlite_master does not exist"));
    writeTemplate("evil4.rpt",
                  "[report]\ntitle = x\nsource = Guests\n[column]\nwidth = 1\ntext = {Guests.Nickname}\n");
    EXPECT_TRUE(errorOf("evil4.rpt").contains(", line 4: the field {Guests.Nickname} does not exist"));
    EXPECT_TRUE(
        errorOf("guests.rpt", "{Guests.LastName} = 'x'; DELETE FROM Guests").contains("text in quotes"));
    EXPECT_TRUE(errorOf("guests.rpt", "{Tables.max} > 0").contains("which this report does not read"));
    EXPECT_EQ(number("SELECT count(*) FROM Guests"), guests);

    const QString missing = templatePath("nothere.rpt");
    EXPECT_EQ(errorOf("nothere.rpt"), "The report template " + missing + " does not exist.");
}

TEST_F(ReportEngineTest, DestinationsPreviewMaximisedAsOrvaneAndNeedAPrinterOrAFile)
{
    reports::ReportEngine engine;
    engine.setReportFileName(templatePath("checklst.rpt"));
    engine.setWindowState(reports::ReportEngine::WindowMaximised);
    QString title;
    bool maximised = false;
    const auto previous = controls::setModalHook([&](QWidget* window) {
        title = window->windowTitle();
        maximised = window->windowState() & Qt::WindowMaximized;
        return 0;
    });
    engine.run();
    controls::setModalHook(previous);
    EXPECT_EQ(title, "Orvane");
    EXPECT_TRUE(maximised);
    EXPECT_EQ(engine.lastPages().rowCount, 50);

    engine.setDestination(reports::ReportEngine::Destination::File);
    engine.setPrintFileName(dir_->file("no/such/folder/x.pdf"));
    try {
        engine.run();
        ADD_FAILURE() << "a PDF in a missing folder was reported as written";
    } catch (const reports::ReportError& e) {
        EXPECT_TRUE(e.description().startsWith("\"" + dir_->file("no/such/folder/x.pdf") +
                                               "\" cannot be written: the folder"))
            << e.description().toStdString();
    }
    // Nor is the wedding file ever written over, also not through a link.
    const QString wedding = store::Workspace::defaultWorkspace().database()->path();
    const QString link = dir_->file("report.pdf");
    ASSERT_TRUE(QFile::link(wedding, link));
    QFile file(wedding);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    for (const QString& target : {wedding, link}) {
        engine.setPrintFileName(target);
        try {
            engine.run();
            ADD_FAILURE() << "a report was written over the wedding file";
        } catch (const reports::ReportError& e) {
            EXPECT_TRUE(e.description().contains("is the wedding file itself"))
                << e.description().toStdString();
        }
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    if (machineHasPrinter())
        GTEST_SKIP() << "this machine has a printer";
    engine.setDestination(reports::ReportEngine::Destination::Printer);
    try {
        engine.run();
        ADD_FAILURE() << "printing without a printer was reported as done";
    } catch (const reports::ReportError& e) {
        EXPECT_TRUE(e.description().startsWith("No printer is available.")) << e.description().toStdString();
    }
}

}  // namespace

namespace {

// Writes every report and one sheet of every label stock to PDF. With ORVANE_REPORT_PDF_DIR
// set, the files are kept there for looking at (pdftoppm -png FILE.pdf PREFIX).
TEST_F(ReportEngineTest, EveryReportAndLabelStockWritesAPdf)
{
    const QString keep = qEnvironmentVariable("ORVANE_REPORT_PDF_DIR");
    const QString out = keep.isEmpty() ? dir_->path() : keep;
    sql("UPDATE Guests SET printit = 1");
    struct Output {
        QString name, templateName, formula;
    };
    std::vector<Output> outputs{{"guests", "guests.rpt", ""},
                                {"guests-shower", "guests.rpt", "{Guests.ShowerGuest} = True"},
                                {"expense", "expense.rpt", ""},
                                {"expense-unpaid", "expense.rpt", "{Expenses.Owing} > 0"},
                                {"checklist", "checklst.rpt", ""},
                                {"seating", "seating.rpt", "{Guests.tableid} > 0"},
                                {"seating-unassigned", "seating.rpt", "{Guests.tableid} = 0"}};
    for (const QString& stock : labelStocks())
        outputs.push_back({"labels-" + stock, "lbl" + stock + ".rpt", ""});
    outputs.push_back({"labels-shower-5160", "shw5160.rpt", ""});
    const QString designFont = "DETAIL;Times New Roman;14.25;True;True;False;False";
    for (const Output& o : outputs) {
        SCOPED_TRACE(o.name.toStdString());
        const ReportPages pages =
            report(o.templateName, o.formula, o.templateName.startsWith("lbl") ? designFont : "");
        reports::writePdf(pages, out + "/" + o.name + ".pdf");
        EXPECT_GT(QFile(out + "/" + o.name + ".pdf").size(), 1000);
    }
}

}  // namespace
