// The General Information panel: its transaction, its fields, the date picker protocol,
// and the due dates rewritten when it closes.
#include "app/NavLabel.h"
#include "app/frmMain.h"
#include "shell/DatePicker.h"
#include "shell/Program.h"
#include "shell/frmCalander.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using apptest::ProgramRun;

namespace {

class GeneralPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        run_.setNames("Anna", "Ben");
        apptest::execSql(db(), "UPDATE General SET weddingdate = '1998-08-31 00:00:00'");
        ASSERT_TRUE(run_.start());
    }
    void TearDown() override { frmCalander::unload(); }
    frmMain& main() { return run_.main(); }
    QString db() const { return run_.databasePath(); }
    store::Workspace& ws() { return store::Workspace::defaultWorkspace(); }
    void open()
    {
        QTest::mouseClick(main().imggeneral, Qt::LeftButton);
        ASSERT_TRUE(main().generalOpen());
    }
    void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // Answers the next date picker with the action, recording its caption and start date.
    void answerPicker(std::function<void(frmCalander*)> action)
    {
        run_.onModal = [this, action](QWidget* w) {
            auto* picker = static_cast<frmCalander*>(w);
            pickerCaption_ = picker->windowTitle();
            pickerStart_ = picker->value();
            action(picker);
        };
    }

    ProgramRun run_;
    QString pickerCaption_;
    QDate pickerStart_;
};

TEST_F(GeneralPanelTest, OpeningBeginsATransactionAndLocksTheMenus)
{
    EXPECT_TRUE(!main().frameGeneral || !main().frameGeneral->isVisible());
    open();
    EXPECT_EQ(run_.sounds, QStringList({"click"}));
    EXPECT_EQ(ws().transactionDepth(), 1);
    EXPECT_TRUE(main().frameGeneral->isVisible());
    EXPECT_EQ(main().frameGeneral->title(), "General Information");
    for (QMenu* menu : {main().mnuFile, main().mnuDatabase, main().mnuHelp})
        EXPECT_FALSE(menu->menuAction()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), main().txtbridesname);
    EXPECT_EQ(main().txtbridesname->text(), "Anna");
}

TEST_F(GeneralPanelTest, CloseCommitsRefreshesTheCaptionAndReschedules)
{
    apptest::execSql(db(), "UPDATE Checklist SET DueDate = NULL");
    open();
    typeInto(main().txtbridesname, "Clara");
    typeInto(main().txtreceptloc, "The Old Mill");
    main().crectime->setCurrentText("07:30 PM");
    main().SSCommand4->click();

    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_TRUE(!main().frameGeneral || !main().frameGeneral->isVisible());
    for (QMenu* menu : {main().mnuFile, main().mnuDatabase, main().mnuHelp})
        EXPECT_TRUE(menu->menuAction()->isEnabled());
    EXPECT_EQ(main().Label1->text(), "Clara and Ben");
    EXPECT_EQ(shell::program().BrideName, "Clara");
    EXPECT_EQ(
        apptest::queryValue(db(), "SELECT bridesname || '|' || receptloc || '|' || rectime FROM General"),
        "Clara|The Old Mill|07:30 PM");
    // Every task with a code was rescheduled from 31 August 1998.
    const auto codes = apptest::queryColumn(db(), "SELECT checktime FROM Checklist ORDER BY rowid");
    const auto dates =
        apptest::queryColumn(db(), "SELECT substr(DueDate, 1, 10) FROM Checklist ORDER BY rowid");
    const QMap<QString, QString> expected{{"1", "1998-02-28"}, {"2", "1998-04-30"}, {"3", "1998-06-30"},
                                          {"4", "1998-07-31"}, {"5", "1998-08-17"}, {"6", "1998-08-24"},
                                          {"7", "1998-08-29"}, {"8", "1998-08-30"}, {"9", "1998-08-31"}};
    ASSERT_FALSE(codes.isEmpty());
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(dates[i], expected.value(codes[i])) << "code " << codes[i].toStdString();
    EXPECT_TRUE(run_.dialogs->messages().empty());
}

TEST_F(GeneralPanelTest, EscInATextBoxClosesLikeTheButton)
{
    open();
    typeInto(main().txtgroomsname, "Dan");
    QTest::keyClick(main().txtgroomsname, Qt::Key_Escape);
    EXPECT_FALSE(main().generalOpen());
    EXPECT_EQ(main().Label1->text(), "Anna and Dan");
    EXPECT_EQ(ws().transactionDepth(), 0);
}

TEST_F(GeneralPanelTest, LeavingTheProgramWithThePanelOpenKeepsWhatWasTyped)
{
    open();
    typeInto(main().txtbridesname, "Erin");
    typeInto(main().txtgroomsname, "Finn");
    main().close();  // the close box still works while the menus are locked
    EXPECT_EQ(run_.dialogs->endProgramCount, 1);
    EXPECT_EQ(ws().database(), nullptr);
    EXPECT_EQ(apptest::queryValue(db(), "SELECT bridesname || ' and ' || groomsname FROM General"),
              "Erin and Finn");
}

TEST_F(GeneralPanelTest, UnchangedWeddingDateStillRewritesHandTypedDueDates)
{
    apptest::execSql(db(), "UPDATE Checklist SET DueDate = '2001-01-01 00:00:00'");
    apptest::execSql(db(),
                     "INSERT INTO Checklist (CheckItem, checktime, DueDate) VALUES "
                     "('mine', NULL, '2002-02-02 00:00:00'), ('zero', 0, '2002-02-02 00:00:00'), "
                     "('ten', 10, '2002-02-02 00:00:00')");
    open();
    main().SSCommand4->click();
    const auto dates = apptest::dueDates(db());
    EXPECT_EQ(dates.value("mine"), "2002-02-02");
    EXPECT_EQ(dates.value("zero"), "2002-02-02");
    EXPECT_EQ(dates.value("ten"), "2002-02-02");
    EXPECT_EQ(
        apptest::queryValue(db(), "SELECT count(*) FROM Checklist WHERE DueDate LIKE '2001-01-01%'").toInt(),
        0);
}

TEST_F(GeneralPanelTest, NoWeddingDateOrNoTasksMeansNothingToDo)
{
    apptest::execSql(db(), "UPDATE Checklist SET DueDate = '2001-01-01 00:00:00'");
    open();
    main().txtweddingdate->clear();
    main().SSCommand4->click();
    EXPECT_TRUE(run_.dialogs->messages().empty());
    EXPECT_EQ(apptest::queryValue(db(), "SELECT count(*) FROM Checklist WHERE DueDate NOT LIKE '2001-01-01%'")
                  .toInt(),
              0);

    apptest::execSql(db(), "UPDATE General SET weddingdate = '1998-08-31 00:00:00'");
    apptest::execSql(db(), "DELETE FROM Checklist");
    open();
    main().SSCommand4->click();
    EXPECT_TRUE(run_.dialogs->messages().empty());
}

TEST_F(GeneralPanelTest, AValueTheRowCannotTakeKeepsThePanelOpen)
{
    open();
    typeInto(main().txtbridesname, "Gina");
    main().txtweddingdate->setText("the first of May");
    main().SSCommand4->click();
    ASSERT_FALSE(run_.dialogs->messages().empty());  // the data source's own message
    EXPECT_TRUE(main().generalOpen());
    EXPECT_TRUE(main().frameGeneral->isVisible());
    EXPECT_EQ(ws().transactionDepth(), 1);
    EXPECT_EQ(main().txtbridesname->text(), "Gina");  // nothing typed is lost
    main().txtweddingdate->setText(shell::dateText(QDate(2026, 5, 1)));
    main().SSCommand4->click();
    EXPECT_FALSE(main().generalOpen());
    EXPECT_EQ(
        apptest::queryValue(db(), "SELECT bridesname || ' ' || substr(weddingdate, 1, 10) FROM General"),
        "Gina 2026-05-01");
}

TEST_F(GeneralPanelTest, AWeddingDateThatIsNotADateIsReportedOnce)
{
    apptest::execSql(db(), "UPDATE General SET weddingdate = 'soon'");
    apptest::execSql(db(), "UPDATE Checklist SET DueDate = '2001-01-01 00:00:00'");
    main().Set_General();
    main().SetDueDates();
    const auto shown = run_.dialogs->messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].title.startsWith("Error #")) << shown[0].title.toStdString();
    EXPECT_EQ(apptest::queryValue(db(), "SELECT count(*) FROM Checklist WHERE DueDate NOT LIKE '2001-01-01%'")
                  .toInt(),
              0);
}

TEST_F(GeneralPanelTest, TimeCombosHoldEveryHalfHour)
{
    open();
    for (QComboBox* combo : {main().cshowtime, main().cweddingtime, main().crectime}) {
        ASSERT_EQ(combo->count(), 32);
        EXPECT_EQ(combo->itemText(0), "08:00 AM");
        EXPECT_EQ(combo->itemText(1), "08:30 AM");
        EXPECT_EQ(combo->itemText(8), "12:00 PM");
        EXPECT_EQ(combo->itemText(10), "01:00 PM");
        EXPECT_EQ(combo->itemText(31), "11:30 PM");
    }
}

TEST_F(GeneralPanelTest, DateFieldsOpenThePickerWithTheirCaptionAndDate)
{
    open();
    const std::pair<QLineEdit*, const char*> fields[] = {{main().txtshowdate, "Enter Shower Date"},
                                                         {main().txtweddingdate, "Enter Ceremony Date"},
                                                         {main().txtrecdate, "Enter Reception Date"}};
    for (const auto& [field, caption] : fields) {
        field->setText(shell::dateText(QDate(2026, 6, 20)));
        field->setFocus();
        EXPECT_EQ(main().txtolddate->text(), field->text());
        EXPECT_EQ(main().txtnewdate->text(), field->text());
        answerPicker([](frmCalander* p) {
            p->Calendar1->setSelectedDate(QDate(2026, 6, 27));
            p->cmdOK->click();
        });
        QTest::mouseDClick(field, Qt::LeftButton);
        EXPECT_EQ(pickerCaption_, caption);
        EXPECT_EQ(pickerStart_, QDate(2026, 6, 20));
        EXPECT_EQ(field->text(), shell::dateText(QDate(2026, 6, 27)));
    }
    // A text that is not a date starts the picker on today.
    main().txtshowdate->setText("next spring");
    answerPicker([](frmCalander* p) { p->cmdOK->click(); });
    QTest::mouseDClick(main().txtshowdate, Qt::LeftButton);
    EXPECT_EQ(pickerStart_, QDate::currentDate());
}

TEST_F(GeneralPanelTest, EscInThePickerRestoresAndDeleteClearsWithoutIt)
{
    open();
    main().txtweddingdate->setText("6/20/26");
    main().txtweddingdate->setFocus();
    answerPicker([](frmCalander* p) {
        p->Calendar1->setSelectedDate(QDate(2027, 1, 1));
        QTest::keyClick(p->Calendar1->findChild<QAbstractItemView*>(), Qt::Key_Escape);
    });
    QTest::keyClick(main().txtweddingdate, Qt::Key_A);
    EXPECT_EQ(run_.modals.count("frmCalander"), 1);
    EXPECT_EQ(main().txtweddingdate->text(), "6/20/26");

    // Delete edits the text and opens nothing: a date can be cleared.
    main().txtweddingdate->selectAll();
    QTest::keyClick(main().txtweddingdate, Qt::Key_Delete);
    EXPECT_EQ(main().txtweddingdate->text(), "");
    EXPECT_EQ(run_.modals.count("frmCalander"), 1);
    // Esc in a date field closes the panel; the cleared date is saved as no date.
    QTest::keyClick(main().txtweddingdate, Qt::Key_Escape);
    EXPECT_FALSE(main().generalOpen());
    EXPECT_FALSE(apptest::queryValue(db(), "SELECT weddingdate FROM General").isValid());
}

TEST_F(GeneralPanelTest, CancelKeepsTheTextTheFieldHasWhenThePickerOpens)
{
    open();
    for (QLineEdit* field : {main().txtweddingdate, main().txtrecdate}) {
        field->setText("6/20/2026");
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        answerPicker([](frmCalander* p) { p->cmdCancel->click(); });
        QTest::keyClick(field, Qt::Key_Right);
        EXPECT_EQ(field->text(), "");
        EXPECT_EQ(pickerStart_, QDate::currentDate());
    }
}

// The user types into the field, then where the picker it opened puts the keyboard focus.
namespace {
void typeKeys(QWidget* target, const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(target, c.toLatin1());
}
QWidget* pickerFocus(frmCalander* picker)
{
    testsupport::showActive(picker);
    return QApplication::focusWidget();
}
}  // namespace

TEST_F(GeneralPanelTest, ADateTypedIntoADateFieldIsTakenExactlyAndEscKeepsAPickedOne)
{
    open();
    main().txtweddingdate->clear();
    main().txtweddingdate->setFocus();
    // A date picked first...
    answerPicker([](frmCalander* p) {
        p->Calendar1->setSelectedDate(QDate(2027, 6, 19));
        p->cmdOK->click();
    });
    QTest::mouseDClick(main().txtweddingdate, Qt::LeftButton);
    EXPECT_EQ(main().txtweddingdate->text(), "6/19/2027");
    // ...then typing another and giving up with Esc leaves the picked date.
    answerPicker([](frmCalander* p) {
        QWidget* focus = pickerFocus(p);
        typeKeys(focus, "/1/2028");
        QTest::keyClick(focus, Qt::Key_Escape);
    });
    testsupport::showActive(&main());
    main().txtweddingdate->setFocus();
    typeKeys(main().txtweddingdate, "8");
    EXPECT_EQ(main().txtweddingdate->text(), "6/19/2027");
    // A date typed in one go and Enter is taken exactly.
    QDate shown;
    answerPicker([&shown](frmCalander* p) {
        QWidget* focus = pickerFocus(p);
        typeKeys(focus, "5-Aug-2027");
        shown = p->value();
        QTest::keyClick(focus, Qt::Key_Return);
    });
    testsupport::showActive(&main());
    main().txtweddingdate->setFocus();
    typeKeys(main().txtweddingdate, "1");
    EXPECT_EQ(shown, QDate(2027, 8, 15));
    EXPECT_EQ(main().txtweddingdate->text(), "8/15/2027");
    main().SSCommand4_Click();
    EXPECT_EQ(apptest::queryValue(db(), "SELECT substr(weddingdate, 1, 10) FROM General").toString(),
              "2027-08-15");
}

TEST_F(GeneralPanelTest, APickedDateKeepsItsCenturyWhenSaved)
{
    for (const QDate date : {QDate(2051, 6, 15), QDate(1948, 2, 3)}) {
        open();
        main().txtshowdate->setFocus();
        answerPicker([date](frmCalander* p) {
            p->Calendar1->setSelectedDate(date);
            p->cmdOK->click();
        });
        QTest::mouseDClick(main().txtshowdate, Qt::LeftButton);
        main().SSCommand4_Click();
        EXPECT_EQ(apptest::queryValue(db(), "SELECT substr(showdate, 1, 10) FROM General").toString(),
                  date.toString(Qt::ISODate));
    }
}

TEST_F(GeneralPanelTest, FieldsSelectTheirWholeTextOnFocus)
{
    open();
    main().txtweddingloc->setText("St. Mary's");
    main().txtweddingloc->setFocus();
    EXPECT_EQ(main().txtweddingloc->selectedText(), "St. Mary's");
    main().txtshowdate->setText("5/1/26");
    main().txtshowdate->setFocus();
    EXPECT_EQ(main().txtshowdate->selectedText(), "5/1/26");
}

}  // namespace
