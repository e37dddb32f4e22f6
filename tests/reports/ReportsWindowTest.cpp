// The reports window on the sample wedding: what each choice hands the engine, the
// messages, and the Labels tab with its marks, styles and font.
#include "app/PeopleReports.h"
#include "controls/Dialogs.h"
#include "guests/GuestStore.h"
#include "guests/MemberStore.h"
#include "reports/frmPartyLabels.h"
#include "reports/frmReports.h"
#include "shell/Help.h"
#include "shell/HelpViewer.h"
#include "shell/Paths.h"
#include "tests/reports/WeddingFixture.h"
#include "tests/support/WidgetTestUtils.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using testsupport::findNamed;

namespace {

using Destination = reports::ReportEngine::Destination;

class ReportsWindowTest : public WeddingFixture {
protected:
    void SetUp() override
    {
        WeddingFixture::SetUp();
        shell::setProgramDirectory(dir_->path());
        previousHook_ = controls::setModalHook([this](QWidget* window) {
            shown_ << window->objectName();
            return answer_ ? answer_(window) : 0;
        });
        window_ = std::make_unique<frmReports>();
    }
    void TearDown() override
    {
        window_.reset();
        controls::setModalHook(previousHook_);
        WeddingFixture::TearDown();
    }

    bool load()
    {
        const bool loaded = window_->Form_Load();
        if (loaded)
            window_->show();
        return loaded;
    }
    template <typename T = QWidget>
    T* control(const QString& name)
    {
        return findNamed<T>(window_.get(), name);
    }
    void chooseTab(int tab) { control<QTabWidget>("SSTab1")->setCurrentIndex(tab); }
    void choose(const QString& option) { control<QRadioButton>(option)->setChecked(true); }
    void click(const QString& button) { control<QPushButton>(button)->click(); }
    QListWidget* list() { return control<QListWidget>("List1"); }
    // The PDF file dialog, when it shows, chooses `path` and is accepted.
    void saveAs(const QString& path)
    {
        answer_ = [path](QWidget* w) {
            auto* files = qobject_cast<QFileDialog*>(w);
            if (!files)
                return 0;
            files->selectFile(path);
            return int(QDialog::Accepted);
        };
    }
    QStringList entries()
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    void select(const QList<int>& rows)
    {
        click("Command2");
        for (int row : rows)
            list()->item(row)->setSelected(true);
    }

    controls::ScopedFakeDialogs dialogs_;
    controls::ModalHook previousHook_;
    std::function<int(QWidget*)> answer_;
    QStringList shown_;
    std::unique_ptr<frmReports> window_;
};

TEST_F(ReportsWindowTest, EveryOptionHandsTheEngineItsTemplateAndFormulaExactly)
{
    ASSERT_TRUE(load());
    struct Case {
        int tab;
        QString option;
        int invited, notInvited;  // list indexes of the two event lists of the guest tab
        QString file, formula;
        int rows;
    };
    const Case cases[] = {
        {0, "optGuests(1)", 2, 0, "guests.rpt", "{Guests.ShowerGuest} = True", 17},
        {0, "optGuests(0)", 2, 0, "guests.rpt", "", 40},
        {0, "optGuests(1)", 0, 0, "guests.rpt", "{Guests.InvCeremony} = True", 40},
        {0, "optGuests(1)", 1, 0, "guests.rpt", "{Guests.InvReception} = True", 37},
        {0, "optGuests(1)", 3, 0, "guests.rpt", "{Guests.InvRehearsal} = True", 8},
        {0, "optGuests(2)", 0, 3, "guests.rpt", "{Guests.InvRehearsal} = False", 32},
        {0, "optGuests(2)", 0, 1, "guests.rpt", "{Guests.InvReception} = False", 3},
        {1, "optExp(0)", 0, 0, "expense.rpt", "", 20},
        {1, "optExp(1)", 0, 0, "expense.rpt", "{Expenses.Owing} > 0", 15},
        {1, "optExp(2)", 0, 0, "expense.rpt", "{Expenses.Owing} = 0", 4},
        {2, "optCheck(0)", 0, 0, "checklst.rpt", "", 50},
        {2, "optCheck(1)", 0, 0, "checklst.rpt", "{Checklist.done} = False", 31},
        {2, "optCheck(2)", 0, 0, "checklst.rpt", "{Checklist.Done} = True", 19},
        {3, "OptTables(0)", 0, 0, "seating.rpt", "{Guests.tableid} > 0", 6},
        {3, "OptTables(1)", 0, 0, "seating.rpt", "{Guests.tableid} = 0", 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.option + " " + c.formula).toStdString());
        chooseTab(c.tab);
        choose(c.option);
        if (c.tab == 0) {
            control<QComboBox>("cmbInvited(0)")->setCurrentIndex(c.invited);
            control<QComboBox>("cmbInvited(1)")->setCurrentIndex(c.notInvited);
        }
        shown_.clear();
        click("SSCommand2");
        EXPECT_EQ(shown_, QStringList({"ReportPreview"}));
        EXPECT_EQ(window_->CR1.reportFileName(), dir_->file(c.file));
        EXPECT_EQ(window_->CR1.selectionFormula(), c.formula);
        EXPECT_EQ(window_->CR1.destination(), Destination::Window);
        EXPECT_EQ(window_->CR1.windowState(), 2);
        EXPECT_EQ(window_->CR1.lastPages().rowCount, c.rows);
        EXPECT_TRUE(window_->isEnabled());
    }
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(ReportsWindowTest, NothingChosenOnlyBeeps)
{
    ASSERT_TRUE(load());
    for (int tab = 0; tab < 4; ++tab) {
        chooseTab(tab);
        click("SSCommand2");
        click("SSCommand3");
        click("cmdPDF");
    }
    EXPECT_EQ(dialogs_->beepCount(), 12);
    EXPECT_TRUE(dialogs_->messages().empty());
    EXPECT_TRUE(shown_.isEmpty());
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(ReportsWindowTest, AMissingTemplateShowsItsPathAndClosesTheWindow)
{
    ASSERT_TRUE(QFile::remove(dir_->file("guests.rpt")));
    ASSERT_TRUE(load());
    choose("optGuests(0)");
    click("SSCommand2");
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    const controls::DialogCall message = dialogs_->messages()[0];
    const QString path = dir_->file("guests.rpt");
    EXPECT_EQ(message.text, "The report template " + path + " does not exist.\n\nReport File: " + path);
    EXPECT_EQ(message.title, "Report Error");
    EXPECT_EQ(message.style, controls::mb::OKOnly);
    EXPECT_TRUE(shown_.isEmpty());
    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(window_->isLoaded());
}

TEST_F(ReportsWindowTest, PrintingWithoutAPrinterShowsTheDescriptionAloneAndCloses)
{
    if (machineHasPrinter())
        GTEST_SKIP() << "this machine has a printer";
    ASSERT_TRUE(load());
    chooseTab(1);
    choose("optExp(1)");
    click("SSCommand3");
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    EXPECT_TRUE(dialogs_->messages()[0].text.startsWith("No printer is available."));
    EXPECT_FALSE(dialogs_->messages()[0].text.contains("Report File"));
    EXPECT_EQ(dialogs_->messages()[0].title, "Report Error");
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(ReportsWindowTest, PdfSavesThePreparedReportInTheChosenFile)
{
    ASSERT_TRUE(load());
    chooseTab(3);
    choose("OptTables(0)");
    const QString path = dir_->file("seating.pdf");
    saveAs(path);
    click("cmdPDF");
    EXPECT_EQ(shown_, QStringList({"PdfFileDialog"}));
    EXPECT_GT(QFile(path).size(), 1000);
    EXPECT_EQ(window_->CR1.printFileName(), path);
    // Cancelling the file dialog writes nothing and says nothing.
    answer_ = nullptr;
    QFile::remove(path);
    click("cmdPDF");
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(dialogs_->calls.empty());
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(ReportsWindowTest, TheLabelsTabOpensOnAllGuestsSelectedWithNineStyles)
{
    sql("UPDATE Guests SET wedlbl = '' WHERE LastName = 'Mensah'");
    ASSERT_TRUE(load());
    chooseTab(4);
    EXPECT_EQ(control<QComboBox>("cmblblinv")->currentText(), "All Guests");
    EXPECT_EQ(control<QLabel>("lblguestcount")->text(), "40");
    EXPECT_EQ(list()->count(), 40);
    EXPECT_EQ(list()->selectedItems().size(), 40);
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(entries().count("** Missing Label **"), 1);
    EXPECT_EQ(entries().count("Mr. and Mrs. John Smith"), 2);
    auto* styles = control<QComboBox>("cmbstyles");
    QStringList items;
    for (int i = 0; i < styles->count(); ++i)
        items << styles->itemText(i);
    EXPECT_EQ(items, QStringList({"Avery 5160", "Avery 5161", "Avery 5162", "Avery 5260", "Avery 5261",
                                  "Avery 5262", "Avery 5660", "Avery 5662", "Avery 5663"}));
    EXPECT_EQ(styles->currentIndex(), 0);
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(ReportsWindowTest, EachEventListsItsPartiesAndChoosesItsTemplate)
{
    ASSERT_TRUE(load());
    chooseTab(4);
    auto* events = control<QComboBox>("cmblblinv");
    events->setCurrentIndex(3);  // Shower
    EXPECT_EQ(window_->LabelEvent, 4);
    EXPECT_EQ(entries(), texts("SELECT showlbl FROM Guests WHERE ShowerGuest = 1 ORDER BY LastName"));
    EXPECT_EQ(control<QLabel>("lblguestcount")->text(), "17");
    click("Command1");
    click("SSCommand2");
    EXPECT_EQ(window_->CR1.reportFileName(), dir_->file("shw5160.rpt"));
    EXPECT_EQ(window_->CR1.selectionFormula(), "");
    EXPECT_EQ(window_->CR1.lastPages().rowCount, 17);

    events->setCurrentIndex(2);  // Reception
    control<QComboBox>("cmbstyles")->setCurrentIndex(5);
    click("Command1");
    click("SSCommand2");
    EXPECT_EQ(window_->CR1.reportFileName(), dir_->file("lbl5262.rpt"));
    EXPECT_EQ(window_->CR1.lastPages().rowCount, 37);

    // An event without parties empties the list and says so.
    sql("UPDATE Guests SET InvRehearsal = 0");
    frmReports fresh;
    ASSERT_TRUE(fresh.Form_Load());
    findNamed<QTabWidget>(&fresh, "SSTab1")->setCurrentIndex(4);
    findNamed<QComboBox>(&fresh, "cmblblinv")->setCurrentIndex(4);
    EXPECT_EQ(findNamed<QListWidget>(&fresh, "List1")->count(), 0);
    EXPECT_EQ(findNamed<QLabel>(&fresh, "lblguestcount")->text(), "0");
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    EXPECT_EQ(dialogs_->messages()[0].text, "There are no people invited to the Rehearsal");
    EXPECT_EQ(dialogs_->messages()[0].title, "Orvane");
}

TEST_F(ReportsWindowTest, PrintingTwoOfFivePartiesMarksExactlyThoseTwo)
{
    sql("UPDATE Guests SET printit = 1, InvRehearsal = (LastName IN ('Adams', 'Baker', 'Clark', 'Davis', "
        "'Green'))");
    ASSERT_TRUE(load());
    chooseTab(4);
    control<QComboBox>("cmblblinv")->setCurrentIndex(4);  // Rehearsal
    ASSERT_EQ(list()->count(), 5);
    select({1, 3});  // Baker and Davis
    click("SSCommand2");
    EXPECT_EQ(texts("SELECT LastName FROM Guests WHERE printit = 1 ORDER BY LastName"),
              QStringList({"Baker", "Davis"}));
    EXPECT_EQ(number("SELECT count(*) FROM Guests WHERE printit = 0"), 38);
    const reports::ReportPages& sheet = window_->CR1.lastPages();
    ASSERT_EQ(sheet.pages[0].labels.size(), 2u);
    EXPECT_EQ(sheet.labelLines(0, 0)[0], "Dr. Hugo Baker");
    EXPECT_EQ(sheet.labelLines(0, 1)[0], "Dr. Daniel Davis");
    // Marks survive the window; the next preparation clears them first.
    window_->close();
    frmReports again;
    ASSERT_TRUE(again.Form_Load());
    findNamed<QTabWidget>(&again, "SSTab1")->setCurrentIndex(4);
    findNamed<QListWidget>(&again, "List1")->clearSelection();
    findNamed<QListWidget>(&again, "List1")->item(0)->setSelected(true);
    again.Get_Report();
    EXPECT_EQ(texts("SELECT LastName FROM Guests WHERE printit = 1"), QStringList({"Adams"}));
}

TEST_F(ReportsWindowTest, MarksThatCannotBeSavedLeaveTheOldMarksAndPrintNothing)
{
    sql("UPDATE Guests SET printit = (LastName = 'Smith')");
    ASSERT_TRUE(load());
    chooseTab(4);
    // The tenth guest's row refuses every change.
    sql("CREATE TRIGGER refuse BEFORE UPDATE ON Guests WHEN OLD.LastName = 'Green' "
        "BEGIN SELECT RAISE(ABORT, 'the row is locked'); END");
    click("SSCommand2");
    EXPECT_TRUE(shown_.isEmpty());
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    EXPECT_TRUE(dialogs_->messages()[0].text.endsWith("\n\nReport File: " + dir_->file("lbl5160.rpt")));
    EXPECT_EQ(dialogs_->messages()[0].title, "Report Error");
    EXPECT_EQ(texts("SELECT LastName FROM Guests WHERE printit = 1"), QStringList({"Smith", "Smith"}));
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(ReportsWindowTest, NoNamesSelectedExplainsThenBeeps)
{
    ASSERT_TRUE(load());
    chooseTab(4);
    click("Command2");
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    click("SSCommand3");
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    EXPECT_EQ(dialogs_->messages()[0].text,
              "You did not select any guests for this report.Click on the names to include for the report. \n"
              "Use the 'Select All' button to include all guests.");
    EXPECT_EQ(dialogs_->messages()[0].title, "No Names for Report");
    EXPECT_EQ(dialogs_->messages()[0].style, controls::mb::Exclamation);
    EXPECT_EQ(dialogs_->beepCount(), 1);
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(ReportsWindowTest, TheLabelFontReachesTheEngineAndCancellingChangesNothing)
{
    ASSERT_TRUE(load());
    chooseTab(4);
    click("SSCommand2");
    const QString design = "DETAIL;Times New Roman;14.25;True;True;False;False";
    EXPECT_EQ(window_->CR1.sectionFont(0), design);
    auto* sample = control<QLabel>("text1");
    EXPECT_EQ(sample->text(), "Sample");

    answer_ = [&](QWidget*) { return int(QDialog::Rejected); };
    click("SSCommand1");
    EXPECT_EQ(shown_.last(), "CD1");
    EXPECT_EQ(window_->CR1.sectionFont(0), design);
    EXPECT_EQ(sample->font().family(), "Times New Roman");

    answer_ = [&](QWidget* w) {
        QFont chosen("DejaVu Sans");
        chosen.setPointSizeF(11);
        chosen.setBold(true);
        chosen.setUnderline(true);
        qobject_cast<QFontDialog*>(w)->setCurrentFont(chosen);
        return int(QDialog::Accepted);
    };
    click("SSCommand1");
    EXPECT_EQ(window_->CR1.sectionFont(0), "DETAIL;DejaVu Sans;11;False;True;True;False");
    EXPECT_EQ(sample->font().family(), "DejaVu Sans");
    answer_ = nullptr;
    click("SSCommand2");
    EXPECT_EQ(window_->CR1.lastPages().fonts.at(0).family(), "DejaVu Sans");
}

TEST_F(ReportsWindowTest, UnreadableGuestRecordsCloseTheWindowAtLoad)
{
    sql("ALTER TABLE Guests RENAME TO Guests2");
    EXPECT_FALSE(window_->Form_Load());
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    EXPECT_EQ(dialogs_->messages()[0].text, "You have no guests in your list.");
    EXPECT_EQ(dialogs_->messages()[0].title, "Missing Guests");
    EXPECT_EQ(dialogs_->messages()[0].style, controls::mb::Information);
    for (const auto& set : window_->LabelSets)
        EXPECT_FALSE(set);
    sql("ALTER TABLE Guests2 RENAME TO Guests");
}

TEST_F(ReportsWindowTest, CloseUnloadsTheWindowAndItsLabelSets)
{
    ASSERT_TRUE(load());
    EXPECT_EQ(window_->windowTitle(), "Reports");
    EXPECT_EQ(control<QLabel>("Label1")->text(), "Orvane Reports");
    EXPECT_EQ(window_->pos(), QPoint(206, 193));
    EXPECT_TRUE(window_->LabelSets[0]);
    click("SSCommand5");
    ASSERT_TRUE(shell::currentHelpViewer());
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1006");
    shell::quitHelp();
    click("SSCommand4");
    EXPECT_FALSE(window_->isVisible());
    for (const auto& set : window_->LabelSets)
        EXPECT_FALSE(set);
}

TEST_F(ReportsWindowTest, TheMainWindowOpensItModally)
{
    showReportsWindow();
    EXPECT_EQ(shown_, QStringList({"frmReports"}));
}

}  // namespace

TEST_F(ReportsWindowTest, LabelsForPartiesPickedElsewhereMarkExactlyThemAndPrintTheirLines)
{
    sql("UPDATE Guests SET printit = (LastName = 'Adams')");
    const QList<qint64> keys = {number("SELECT rowid FROM Guests WHERE LastName = 'Baker'"),
                                number("SELECT rowid FROM Guests WHERE LastName = 'Davis'")};
    reports::frmPartyLabels labels({keys[0], keys[1]});
    testsupport::showActive(&labels);
    labels.cboStock->setCurrentIndex(2);  // 5162
    QTest::mouseClick(labels.cmdPreview, Qt::LeftButton);
    EXPECT_FALSE(shown_.isEmpty()) << "the preview was shown";
    EXPECT_EQ(texts("SELECT LastName FROM Guests WHERE printit = 1 ORDER BY LastName"),
              QStringList({"Baker", "Davis"}));
    EXPECT_TRUE(labels.CR1.reportFileName().endsWith("lbl5162.rpt"));
    const reports::ReportPages& sheet = labels.CR1.lastPages();
    ASSERT_EQ(sheet.pages.size(), 1u);
    ASSERT_EQ(sheet.pages[0].labels.size(), 2u);
    EXPECT_EQ(sheet.labelLines(0, 0)[0], "Dr. Hugo Baker");
    EXPECT_FALSE(labels.isVisible()) << "done once the preview closes";

    reports::frmPartyLabels shower({keys[0]});
    shower.cboText->setCurrentIndex(1);
    shower.cmdPreview_Click();
    EXPECT_TRUE(shower.CR1.reportFileName().endsWith("shw5160.rpt"));
}

TEST_F(ReportsWindowTest, ThePlaceCardsTabPrintsTheSeatedPeopleOnTheStockChosenByKeys)
{
    app::registerPeopleReports();
    sql("INSERT INTO Tables (tablename, tablenumber, max) VALUES ('Oak', 41, 10)");
    const qint64 oak = number("SELECT max(TableId) FROM Tables");
    const qint64 party = guests::addGuest(db(), {}, "Zeta");
    db().execute("UPDATE Guests SET InvReception = True, tableid = ? WHERE rowid = ?", {oak, party});
    for (const char* first : {"Ann", "Bo"}) {
        guests::Member m;
        m.party = party;
        m.firstName = first;
        m.lastName = "Zeta";
        guests::addMember(db(), m);
    }
    guests::Member away;
    away.party = guests::addGuest(db(), {}, "Away");
    away.firstName = "Al";
    db().execute("UPDATE Guests SET InvReception = True, tableid = 0 WHERE rowid = ?", {away.party});
    guests::addMember(db(), away);
    ASSERT_TRUE(load());

    // Ctrl+Tab from the first tab to the seventh, then Space on the choices.
    QTabWidget* tabs = control<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->tabText(frmReports::PlaceCardsTab), "Place Cards");
    tabs->tabBar()->setFocus();
    for (int i = 0; i < frmReports::PlaceCardsTab; ++i)
        QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(tabs->currentIndex(), frmReports::PlaceCardsTab);
    EXPECT_EQ(shell::helpContextOf(control("optCards(0)")), shell::HelpPlaceCards);
    EXPECT_TRUE(control<QRadioButton>("optCards(0)")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("optCardStock(0)")->isChecked());

    const QString path = dir_->file("cards.pdf");
    saveAs(path);
    click("cmdPDF");
    EXPECT_EQ(shown_, QStringList({"PdfFileDialog"}));
    EXPECT_GT(QFile(path).size(), 1000);
    EXPECT_TRUE(dialogs_->messages().empty());
    EXPECT_EQ(control<QLabel>("lblCardsNote")->text(),
              "2 cards. 1 person expected at the reception is not seated at a table and has no card.");

    // Escort cards turn to the flat stock; the stock can still be chosen after.
    QTest::keyClick(control("optCards(1)"), Qt::Key_Space);
    EXPECT_TRUE(control<QRadioButton>("optCards(1)")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("optCardStock(1)")->isChecked());
    QTest::keyClick(control("optCardStock(0)"), Qt::Key_Space);
    EXPECT_TRUE(control<QRadioButton>("optCardStock(0)")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("optCards(1)")->isChecked());

    // Without anyone seated there is nothing to print, and the window says why.
    db().execute("UPDATE Guests SET tableid = 0");
    shown_.clear();
    QFile::remove(path);
    click("cmdPDF");
    EXPECT_TRUE(shown_.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(dialogs_->messages().size(), 1u);
    EXPECT_EQ(dialogs_->messages()[0].text,
              "There are no cards to print: no one expected at the reception is seated at a table yet.");
    EXPECT_EQ(dialogs_->messages()[0].title, "Escort Cards");
    EXPECT_TRUE(window_->isVisible());
    reports::setCardSource({});
    reports::setTableSheetSource({});
}
