// The checklist window driven as the user drives it, offscreen.
#include "checklist/CheckRules.h"
#include "checklist/frmCheck.h"
#include "controls/CellFormat.h"
#include "controls/DataSource.h"
#include "shell/Help.h"
#include "tests/controls/GridWindowTest.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace checklist;

namespace {

const QDateTime BandDone(QDate(2024, 2, 20), QTime(14, 30));

class ChecklistWindow : public gridtest::GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        setWeddingDate(QDateTime(QDate::currentDate().addDays(30), QTime(15, 0)));
        execute(QStringLiteral("DELETE FROM Checklist"));
        addTask(QStringLiteral("Order the flowers"), QDate(2024, 5, 10), false, QVariant());
        addTask(QStringLiteral("Book the band"), QDate(2024, 3, 1), true, BandDone);
        addTask(QStringLiteral("Send invitations"), QDate(2024, 4, 15), false, QVariant());
        addTask(QStringLiteral("Buy the rings"), QVariant(), true, QVariant());
    }

    static void setWeddingDate(const QVariant& date)
    {
        execute(QStringLiteral("UPDATE General SET weddingdate = ?"), {date});
    }
    static void addTask(const QString& item, const QVariant& due, bool done, const QVariant& dateDone)
    {
        const QVariant dueDate = due.typeId() == QMetaType::QDate ? QVariant(due.toDate().startOfDay()) : due;
        execute(
            QStringLiteral("INSERT INTO Checklist (CheckItem, DueDate, Done, CheckDate) VALUES (?, ?, ?, ?)"),
            {item, dueDate, done, dateDone});
    }
    static QVariant task(const QString& item, const QString& field)
    {
        return storedField(QStringLiteral("Checklist"), QStringLiteral("CheckItem"), item, field);
    }

    std::unique_ptr<frmCheck> open() { return openOver<frmCheck>(QStringLiteral("Checklist")); }

    void pressDoneButton(int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, ColDone));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(cell.right() - 3, cell.center().y()));
    }
    // Starts an edit of a cell without typing (F2), as a click on the current cell does.
    void startEdit(int row, int column)
    {
        goTo(grid, row, column);
        QTest::keyClick(grid, Qt::Key_F2);
    }
    void doubleClick(int row, int column)
    {
        goTo(grid, row, ColCheckItem == column ? ColDone : ColCheckItem);
        const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    int pickersShown() const
    {
        return int(std::count_if(modals.begin(), modals.end(),
                                 [](const gridtest::ModalShown& m) { return m.window == "frmCalander"; }));
    }
    static QString medium(const QDate& date)
    {
        return controls::formatCell(date.startOfDay(), controls::CellFormat::MediumDate);
    }
};

}  // namespace

// ---- rules -----------------------------------------------------------------------------------

TEST(ChecklistRules, DaysBeforeWeddingCountCalendarDays)
{
    const QDate today(2024, 1, 1);
    EXPECT_EQ(daysBeforeWedding(today, QDateTime(QDate(2024, 1, 2), QTime(0, 30))), 1);
    EXPECT_EQ(daysBeforeWedding(today, QDateTime(QDate(2024, 1, 1), QTime(23, 59))), 0);
    EXPECT_EQ(daysBeforeWedding(today, QDateTime(QDate(2023, 12, 31), QTime(23, 59))), -1);
    EXPECT_EQ(daysBeforeWedding(today, QDateTime(QDate(2024, 3, 1), QTime(12, 0))), 60);  // leap year
}

TEST(ChecklistRules, PickedTextReplacesTheCellOnlyWhenItIsANewAnswer)
{
    EXPECT_EQ(pickedCellText(QStringLiteral("  6/1/2024 "), QStringLiteral("05-May-2024")),
              QStringLiteral("6/1/2024"));
    EXPECT_FALSE(pickedCellText(QString(), QString()));
    EXPECT_FALSE(pickedCellText(QStringLiteral("05-May-2024"), QStringLiteral("05-May-2024")));
}

// ---- opening ---------------------------------------------------------------------------------

TEST_F(ChecklistWindow, ShowsTheWeddingDateAndTheDaysLeftEvenAfterTheWedding)
{
    auto w = open();
    const QDate wedding = QDate::currentDate().addDays(30);
    EXPECT_EQ(w->lblweddate->text(), QLocale().toString(wedding, QStringLiteral("M/d/yyyy")));
    EXPECT_EQ(w->lbldaysbefore->text(), "30");
    EXPECT_TRUE(modals.empty()) << "no tip with a wedding date";
    EXPECT_EQ(grid->rowCount(), 5);  // four tasks and the empty new row
    EXPECT_EQ(grid->cellText(1, ColDone), "Yes");
    EXPECT_EQ(grid->cellText(1, ColDueDate), "01-Mar-2024");
    EXPECT_EQ(grid->model()->headerData(ColCheckItem, Qt::Horizontal, Qt::DisplayRole).toString(),
              "CheckItem");

    setWeddingDate(QDateTime(QDate::currentDate().addDays(-3), QTime(23, 0)));
    auto after = open();
    EXPECT_EQ(after->lbldaysbefore->text(), "-3");
}

TEST_F(ChecklistWindow, WithoutAWeddingDateTheLabelsAreEmptyAndTipThreeShows)
{
    setWeddingDate(QVariant());
    auto w = open();
    EXPECT_EQ(w->lblweddate->text(), "");
    EXPECT_EQ(w->lbldaysbefore->text(), "");
    ASSERT_EQ(modals.size(), 1u);
    EXPECT_EQ(modals[0].window, "frmTip");
    EXPECT_EQ(modals[0].tipNumber, 3);
    EXPECT_EQ(grid->rowCount(), 5);  // the window works as usual
}

TEST_F(ChecklistWindow, OpensFromTheMainWindowFreshWithItsCaption)
{
    int rowsShown = -1;
    controls::setModalHook([&](QWidget* window) {
        modals.push_back({window->objectName(), window->windowTitle()});
        rowsShown = testsupport::findNamed<controls::DataGrid>(window, "grddataGrid")->rowCount();
        return 0;
    });
    showChecklistWindow(db().openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Dynaset));
    showChecklistWindow(db().openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Dynaset));
    ASSERT_EQ(modals.size(), 2u);
    EXPECT_EQ(modals[1].window, "frmCheck");
    EXPECT_EQ(modals[1].caption, "Check List");
    EXPECT_EQ(rowsShown, 5);
}

TEST_F(ChecklistWindow, ALoadFailureIsReportedAndTheWindowNotShown)
{
    store::Workspace::defaultWorkspace().close();
    shell::program().DatabasePath = dir.file(QStringLiteral("missing.mdb"));
    showChecklistWindow(nullptr);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("Error:3024 ")))
        << messages()[0].text.toStdString();
    EXPECT_EQ(messages()[0].title, "Orvane");
    ASSERT_EQ(modals.size(), 1u);  // only the tip: there is no wedding date to read
    EXPECT_EQ(modals[0].window, "frmTip");
}

// ---- ticking tasks and dates -----------------------------------------------------------------

TEST_F(ChecklistWindow, DoneButtonTicksWithTodayAndUnticksClearingTheDate)
{
    auto w = open();
    pressDoneButton(0);
    EXPECT_EQ(grid->row(), 0);
    EXPECT_EQ(grid->cellText(0, ColDone), "Yes");
    EXPECT_EQ(grid->cellText(0, ColDateDone), medium(QDate::currentDate()));
    w->Data1->updateRecord();
    EXPECT_TRUE(task("Order the flowers", "Done").toBool());
    const QDateTime doneAt = task("Order the flowers", "CheckDate").toDateTime();
    EXPECT_LE(std::abs(doneAt.secsTo(QDateTime::currentDateTime())), 5);

    pressDoneButton(0);
    EXPECT_EQ(grid->cellText(0, ColDone), "No");
    EXPECT_EQ(grid->cellText(0, ColDateDone), "");
    w->Data1->updateRecord();
    EXPECT_FALSE(task("Order the flowers", "Done").toBool());
    EXPECT_TRUE(task("Order the flowers", "CheckDate").isNull());
}

TEST_F(ChecklistWindow, PickingDateDoneTicksTheTaskAndCancellingAnEmptyOneUnticksIt)
{
    auto w = open();
    pickerAnswer = QDate(2024, 6, 1);
    startEdit(0, ColDateDone);
    ASSERT_EQ(pickersShown(), 1);
    EXPECT_EQ(modals[0].caption, "Enter Date Done");
    EXPECT_EQ(modals[0].pickerStart, QDate::currentDate());
    EXPECT_EQ(QApplication::focusWidget(), grid) << "no in-place edit";
    EXPECT_EQ(grid->cellText(0, ColDateDone), "01-Jun-2024");
    EXPECT_EQ(grid->cellText(0, ColDone), "Yes");

    // A task marked done without a date: cancelling leaves the date empty and unticks it.
    pickerAnswer.reset();
    startEdit(3, ColDateDone);
    EXPECT_EQ(grid->cellText(3, ColDateDone), "");
    EXPECT_EQ(grid->cellText(3, ColDone), "No");
    w->Data1->updateRecord();
    EXPECT_EQ(task("Order the flowers", "CheckDate").toDateTime(), QDateTime(QDate(2024, 6, 1), QTime(0, 0)));
    EXPECT_FALSE(task("Buy the rings", "Done").toBool());
    EXPECT_TRUE(task("Buy the rings", "CheckDate").isNull());
}

TEST_F(ChecklistWindow, ThePickerStartsTodayAndCancellingKeepsTheCellAsItWas)
{
    auto w = open();
    startEdit(1, ColDateDone);  // holds 20 Feb 2024, 14:30
    ASSERT_EQ(pickersShown(), 1);
    EXPECT_EQ(modals[0].pickerStart, QDate::currentDate());
    EXPECT_EQ(grid->cellText(1, ColDateDone), "20-Feb-2024");
    EXPECT_EQ(grid->cellText(1, ColDone), "Yes");
    EXPECT_FALSE(w->Data1->isDirty());
    goTo(grid, 0, ColCheckItem);
    EXPECT_EQ(task("Book the band", "CheckDate").toDateTime(), BandDone) << "the time of day survives";
}

TEST_F(ChecklistWindow, PickingADueDateUnticksATaskWithoutDateDone)
{
    auto w = open();
    pickerAnswer = QDate(2024, 7, 1);
    goTo(grid, 3, ColDueDate);
    QTest::keyClick(grid, '5');  // typing a digit opens the picker too
    ASSERT_EQ(pickersShown(), 1);
    EXPECT_EQ(modals[0].caption, "Enter Due Date");
    EXPECT_EQ(grid->cellText(3, ColDueDate), "01-Jul-2024");
    EXPECT_EQ(grid->cellText(3, ColDone), "No");
    w->Data1->updateRecord();
    EXPECT_EQ(task("Buy the rings", "DueDate").toDateTime().date(), QDate(2024, 7, 1));
    EXPECT_FALSE(task("Buy the rings", "Done").toBool());
}

TEST_F(ChecklistWindow, AFullStopEditsADateAsTextAndAnEmptiedCellStoresNoDate)
{
    auto w = open();
    goTo(grid, 1, ColDateDone);
    QTest::keyClick(grid, '.');
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid) << "a plain text edit";
    EXPECT_EQ(pickersShown(), 0);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    endEdit(editor);
    EXPECT_EQ(grid->cellText(1, ColDateDone), "");
    EXPECT_TRUE(grid->columnValue(ColDateDone).isNull());

    goTo(grid, 0, ColDueDate);
    QTest::keyClick(grid, '.');
    editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "6/15/2024");
    endEdit(editor);
    EXPECT_EQ(grid->cellText(0, ColDueDate), "15-Jun-2024");
    w->Data1->updateRecord();
    EXPECT_TRUE(task("Book the band", "CheckDate").isNull());
    EXPECT_EQ(task("Order the flowers", "DueDate").toDateTime().date(), QDate(2024, 6, 15));
    EXPECT_EQ(pickersShown(), 0);
}

TEST_F(ChecklistWindow, DoubleClickPicksDatesInDateColumnsOnly)
{
    auto w = open();
    pickerAnswer = QDate(2024, 8, 2);
    doubleClick(0, ColDueDate);
    EXPECT_EQ(grid->cellText(0, ColDueDate), "02-Aug-2024");
    EXPECT_EQ(grid->cellText(0, ColDone), "No");  // no date done yet
    doubleClick(0, ColDateDone);
    EXPECT_EQ(grid->cellText(0, ColDateDone), "02-Aug-2024");
    EXPECT_EQ(grid->cellText(0, ColDone), "Yes");
    doubleClick(2, ColCheckItem);
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // no late edit either
    EXPECT_EQ(pickersShown(), 2);
}

// ---- sorting, deleting, adding ---------------------------------------------------------------

TEST_F(ChecklistWindow, HeaderClicksSortAscendingAndDescendingWithShift)
{
    auto w = open();
    const QStringList ascending{"Buy the rings", "Book the band", "Send invitations", "Order the flowers"};
    clickHeader(grid, ColDueDate);
    EXPECT_EQ(columnTexts(grid, ColCheckItem), ascending);
    EXPECT_EQ(w->Data1->fieldValue("CheckItem").toString(), "Buy the rings");
    clickHeader(grid, ColDueDate, Qt::ShiftModifier);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(columnTexts(grid, ColCheckItem), descending);
    clickHeader(grid, ColDueDate);
    EXPECT_EQ(columnTexts(grid, ColCheckItem), ascending);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ChecklistWindow, AChangedRowIsSortedByItsNewValue)
{
    auto w = open();
    type(grid, 0, ColCheckItem, "Arrange the flowers");
    clickHeader(grid, ColCheckItem);
    EXPECT_EQ(columnTexts(grid, ColCheckItem),
              (QStringList{"Arrange the flowers", "Book the band", "Buy the rings", "Send invitations"}));
}

TEST_F(ChecklistWindow, ASortThatFailsSaysSoAndKeepsTheOrder)
{
    auto w = open();
    w->Data1->setRecordset(db().openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Table));
    const QStringList before = columnTexts(grid, ColCheckItem);
    clickHeader(grid, ColDueDate);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith("Sort Error\n"));
    EXPECT_GT(messages()[0].text.size(), QStringLiteral("Sort Error\n").size());
    EXPECT_EQ(messages()[0].title, "Orvane");
    EXPECT_EQ(columnTexts(grid, ColCheckItem), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChecklistWindow, DeleteRemovesOneTaskAtOnceAndRereadsInStoredOrder)
{
    auto w = open();
    selectRows(grid, {0, 2});
    w->Command1->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "You can only delete 1 row at a time");
    EXPECT_EQ(messages()[0].title, "Orvane");
    EXPECT_EQ(count("Checklist"), 4);

    clickHeader(grid, ColCheckItem, Qt::ShiftModifier);  // Send, Order, Buy, Book
    goTo(grid, 2, ColCheckItem);
    selectRows(grid, {2});
    w->mnuDelete->trigger();
    EXPECT_EQ(count("Checklist"), 3);
    EXPECT_TRUE(task("Buy the rings", "CheckItem").isNull());
    EXPECT_EQ(columnTexts(grid, ColCheckItem),
              (QStringList{"Order the flowers", "Book the band", "Send invitations"}));
    EXPECT_EQ(messages().size(), 1u) << "no question asked";
}

TEST_F(ChecklistWindow, DeleteWithoutACurrentTaskBeeps)
{
    auto w = open();
    goTo(grid, grid->rowCount() - 1, ColCheckItem);  // the empty new row
    w->Command1->click();
    EXPECT_EQ(dialogs->beepCount(), 1);
    EXPECT_EQ(count("Checklist"), 4);

    execute(QStringLiteral("DELETE FROM Checklist"));
    w->Data1->refresh();
    w->mnuDelete->trigger();
    EXPECT_EQ(dialogs->beepCount(), 2);
}

TEST_F(ChecklistWindow, ANewTaskOnTheLastRowIsNotDoneAndHasNoLeadTime)
{
    auto w = open();
    type(grid, 4, ColCheckItem, "Hire a photographer");
    EXPECT_EQ(grid->cellText(4, ColDone), "No");
    goTo(grid, 0, ColCheckItem);
    EXPECT_EQ(count("Checklist"), 5);
    EXPECT_FALSE(task("Hire a photographer", "Done").toBool());
    EXPECT_TRUE(task("Hire a photographer", "checktime").isNull());
    EXPECT_TRUE(task("Hire a photographer", "DueDate").isNull());
}

TEST_F(ChecklistWindow, PopupMenuHelpAndClose)
{
    auto w = open();
    EXPECT_EQ(grid->popupMenu(), w->mnuGridEdit);
    EXPECT_EQ(w->mnuGridEdit->title(), "Grid Control");
    w->SSCommand1->click();
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1002");

    type(grid, 0, ColCheckItem, "Order the white flowers");
    w->SSCommand4->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(task("Order the white flowers", "CheckItem").toString(), "Order the white flowers")
        << "the edit was stored on closing";
    EXPECT_EQ(count("Checklist"), 4);
}

TEST_F(ChecklistWindow, EnterInTheGridPressesNoButton)
{
    auto w = open();
    goTo(grid, 1, ColCheckItem);
    QTest::keyClick(grid, Qt::Key_Return);
    type(grid, 1, ColCheckItem, "Book the jazz band");
    testsupport::pumpEvents();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(count("Checklist"), 4);
    EXPECT_EQ(grid->cellText(1, ColCheckItem), "Book the jazz band");
}

// ---- keys as the user types them ---------------------------------------------------------------

namespace {
void keys(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    testsupport::pumpEvents();
}
void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
    testsupport::pumpEvents();
}
}  // namespace

TEST_F(ChecklistWindow, TabPastTheLastColumnStoresTheNewTaskAndGoesOnToTheNextNewRow)
{
    auto w = open();
    const int first = grid->rowCount() - 1;
    goTo(grid, first, ColCheckItem);
    grid->setFocus();
    keys("Hire a photographer");
    press(Qt::Key_Tab);  // Due Date: passing it opens no picker
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);  // past the last column
    EXPECT_EQ(pickersShown(), 0);
    EXPECT_EQ(grid->row(), first + 1);
    EXPECT_EQ(grid->col(), ColDone);
    press(Qt::Key_Tab);
    keys("Taste the cake");
    press(Qt::Key_Return);
    w->close();
    EXPECT_EQ(count("Checklist"), 6);
    EXPECT_EQ(task("Hire a photographer", "Done"), false);
    EXPECT_EQ(task("Taste the cake", "Done"), false);
    EXPECT_EQ(task("Order the flowers", "CheckItem"), "Order the flowers");
}

// Answers the next date picker by typing into it as the user does, then a last key.
class TypingPicker {
public:
    TypingPicker(QString text, Qt::Key last)
    {
        previous_ = controls::setModalHook([this, text, last](QWidget* window) {
            auto* picker = qobject_cast<frmCalander*>(window);
            testsupport::showActive(picker);
            keys(text);
            shownBeforeOk = picker->value();
            press(last);
            if (picker->isVisible())  // refused: the user gives up with Esc
                press(Qt::Key_Escape);
            return picker->result();
        });
    }
    ~TypingPicker() { controls::setModalHook(previous_); }
    QDate shownBeforeOk;

private:
    controls::ModalHook previous_;
};

TEST_F(ChecklistWindow, ADateTypedInThePickerIsTakenExactly)
{
    auto w = open();
    goTo(grid, 0, ColDueDate);
    grid->setFocus();
    TypingPicker picker(QStringLiteral("5-Aug-2027"), Qt::Key_Return);
    QTest::keyClick(grid, '1');  // the key that opens the picker is the first of the date
    testsupport::pumpEvents();
    EXPECT_EQ(picker.shownBeforeOk, QDate(2027, 8, 15)) << "the picker shows the typed date before OK";
    EXPECT_EQ(grid->columnText(ColDueDate), "15-Aug-2027");
    goTo(grid, 1, ColDueDate);
    EXPECT_EQ(task("Order the flowers", "DueDate").toDateTime(), QDate(2027, 8, 15).startOfDay());
    EXPECT_TRUE(messages().empty());
}

TEST_F(ChecklistWindow, ATypedTextThatIsNoDateIsRefusedNamingTheFieldAndTheCellKeepsItsDate)
{
    auto w = open();
    goTo(grid, 0, ColDueDate);
    grid->setFocus();
    TypingPicker picker(QStringLiteral("5-Agu-2027"), Qt::Key_Return);
    QTest::keyClick(grid, '1');
    testsupport::pumpEvents();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains("15-Agu-2027"));
    EXPECT_TRUE(messages()[0].informative.contains("Due Date")) << messages()[0].informative.toStdString();
    EXPECT_EQ(grid->columnText(ColDueDate), "10-May-2024");
    goTo(grid, 1, ColDueDate);
    EXPECT_EQ(task("Order the flowers", "DueDate").toDateTime(), QDate(2024, 5, 10).startOfDay());
}

TEST_F(ChecklistWindow, APickedDateKeepsItsCentury)
{
    auto w = open();
    for (const QDate date : {QDate(2051, 6, 15), QDate(1948, 2, 3)}) {
        pickerAnswer = date;
        doubleClick(0, ColDueDate);
        goTo(grid, 1, ColCheckItem);
        EXPECT_EQ(task("Order the flowers", "DueDate").toDateTime().date(), date);
    }
}
