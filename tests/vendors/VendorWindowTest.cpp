#include "vendors/frmVendors.h"

#include "controls/DataList.h"
#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <sqlite3.h>

#include <memory>

using controls::DataCombo;
using controls::DataList;
using testsupport::findNamed;

namespace {

// A fresh wedding database opened as the program's, and the vendor window over it.
class VendorWindowTest : public ::testing::Test {
protected:
    void SetUp() override { openDatabase(); }
    void TearDown() override
    {
        window.reset();
        store::Workspace::defaultWorkspace().close();
    }

    void openDatabase()
    {
        shell::program().DatabasePath = dir.databasePath();
        store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
    }

    static void addVendorRow(const QString& name, const QString& city = QString(),
                             const QString& notes = QString())
    {
        shell::database().execute(
            "INSERT INTO Vendors (VendorName, City, Notes) VALUES (?, ?, ?)",
            {name, city.isNull() ? QVariant() : city, notes.isNull() ? QVariant() : notes});
    }

    void addThreeVendors()
    {
        addVendorRow("Petals & Stems", "Springfield", "Peonies in season May-June.");
        addVendorRow("The Grand Ballroom", "Springfield", "Holds 180 seated.\nDeposit due 6 months ahead.");
        addVendorRow("Lens & Light Studio", "Chatham");
    }

    frmVendors& open()
    {
        window = std::make_unique<frmVendors>();
        EXPECT_NO_THROW(window->Form_Load());
        testsupport::showActive(window.get());
        return *window;
    }

    void closeWindow()
    {
        findNamed<QPushButton>(window.get(), "SSCommand4")->click();
        testsupport::pumpEvents();
        window.reset();
    }

    template <typename T = QWidget>
    T* control(const QString& name) const
    {
        return findNamed<T>(window.get(), name);
    }

    QString caption() const { return control<controls::DataNavigator>("Data1")->caption(); }
    QString count() const { return control<QLabel>("Label1")->text(); }
    DataList* quickSearch() const { return control<DataList>("addDBList1"); }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < quickSearch()->count(); ++i)
            names << quickSearch()->itemText(i);
        return names;
    }
    bool fieldsEnabled() const
    {
        bool all = true, none = true;
        for (const char* name : {"Text1", "Text2", "Text3", "Text5", "Text6", "Text7", "Text8", "Combo1",
                                 "Text10", "addDBCombo1", "addDBCombo2"}) {
            const bool on = control(name)->isEnabled();
            all = all && on;
            none = none && !on;
        }
        EXPECT_TRUE(all || none) << "the fields are enabled and disabled together";
        return all;
    }

    void clickAdd(const QString& answer, bool accepted = true)
    {
        dialogs->inputAnswers.push_back({accepted, answer});
        control<QPushButton>("SSCommand2")->click();
    }
    void clickRemove(int answer)
    {
        dialogs->messageAnswers.push_back(answer);
        control<QPushButton>("SSCommand3")->click();
    }
    void pick(int row)
    {
        DataList* list = quickSearch();
        list->setFocus();
        const QRect at = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    }
    void leaveTo(QWidget* next) { testsupport::focus(next); }

    // The values of one column of a query, in its order.
    static QStringList column(const QString& sql)
    {
        QStringList values;
        auto rs = shell::database().openRecordset(sql, store::RecordsetType::Snapshot);
        for (; !rs->eof(); rs->moveNext())
            values << rs->value(0).toString();
        return values;
    }

    testsupport::ProgramDir dir;
    controls::ScopedFakeDialogs dialogs;
    std::unique_ptr<frmVendors> window;
};

TEST_F(VendorWindowTest, EmptyListDisablesFieldsAndFirstAddEnablesThem)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Wedding Vendor List");
    EXPECT_EQ(caption(), "Vendor List (empty)");
    EXPECT_EQ(count(), "0");
    EXPECT_FALSE(fieldsEnabled());
    EXPECT_TRUE(control("SSCommand2")->isEnabled());
    EXPECT_TRUE(control("SSCommand3")->isEnabled());

    clickAdd("Sweet Tier Bakery");
    EXPECT_TRUE(fieldsEnabled());
    EXPECT_EQ(count(), "1");
    EXPECT_EQ(caption(), "Sweet Tier Bakery");
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), "Sweet Tier Bakery");
    EXPECT_EQ(listed(), QStringList{"Sweet Tier Bakery"});
    EXPECT_TRUE(dialogs->messages().empty());
}

TEST_F(VendorWindowTest, AddedVendorIsCurrentAtItsPlaceWithEmptyFields)
{
    addThreeVendors();
    open();
    EXPECT_EQ(listed(), (QStringList{"Lens & Light Studio", "Petals & Stems", "The Grand Ballroom"}));
    EXPECT_EQ(count(), "3");

    clickAdd("Ever After Bridal");
    ASSERT_EQ(dialogs->calls.front().text, "Enter Vendor name:");
    EXPECT_EQ(dialogs->calls.front().title, "Add New Vendor");
    EXPECT_EQ(dialogs->calls.front().defaultText, "");
    EXPECT_EQ(listed(), (QStringList{"Ever After Bridal", "Lens & Light Studio", "Petals & Stems",
                                     "The Grand Ballroom"}));
    EXPECT_EQ(count(), "4");
    EXPECT_EQ(caption(), "Ever After Bridal");
    EXPECT_EQ(quickSearch()->listIndex(), 0);
    EXPECT_EQ(control<QComboBox>("addDBCombo1")->currentText(), "");
    EXPECT_EQ(control<QPlainTextEdit>("Text10")->toPlainText(), "");
}

TEST_F(VendorWindowTest, EmptyOrCancelledNameBeepsWarnsAndAddsNothing)
{
    addThreeVendors();
    open();
    clickAdd("", false);
    clickAdd("", true);
    EXPECT_EQ(dialogs->beepCount(), 2);
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& m : messages) {
        EXPECT_EQ(m.text, "You must enter a Vendor name");
        EXPECT_EQ(m.title, "New Vendor");
        EXPECT_EQ(m.style, controls::mb::OKOnly);
    }
    EXPECT_EQ(count(), "3");
    EXPECT_EQ(column("SELECT count(*) FROM Vendors"), QStringList{"3"});
}

TEST_F(VendorWindowTest, NameWithQuotesBracketsAndSemicolonIsStoredAndFoundAsTyped)
{
    addThreeVendors();
    open();
    const QString name = "O'Malley's \"Best\" [Strings]; Ltd.";
    clickAdd(name);
    EXPECT_TRUE(dialogs->messages().empty());
    EXPECT_EQ(caption(), name);
    EXPECT_EQ(listed().at(1), name);
    EXPECT_TRUE(column("SELECT VendorName FROM Vendors").contains(name));

    pick(0);
    EXPECT_EQ(caption(), "Lens & Light Studio");
    pick(1);
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), name);
}

TEST_F(VendorWindowTest, TooLongNameIsReportedAsAddError)
{
    open();
    clickAdd(QString(60, 'x'));
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Add Vendor Error");
    EXPECT_FALSE(messages[0].text.isEmpty());
    EXPECT_EQ(caption(), "Vendor List (empty)");
}

TEST_F(VendorWindowTest, RemoveAsksWithNoAsDefaultAndDeletesOnlyOnYes)
{
    addThreeVendors();
    open();
    pick(1);
    clickRemove(controls::mb::No);
    auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Do you want to delete Petals & Stems");
    EXPECT_EQ(messages[0].title, "Confirm Delete");
    EXPECT_EQ(messages[0].style, controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2);
    EXPECT_EQ(count(), "3");

    control<QLineEdit>("Text2")->setText("typed, then deleted");
    clickRemove(controls::mb::Yes);
    EXPECT_EQ(listed(), (QStringList{"Lens & Light Studio", "The Grand Ballroom"}));
    EXPECT_EQ(count(), "2");
    EXPECT_EQ(caption(), "Lens & Light Studio");
    EXPECT_EQ(dialogs->messages().size(), 2u) << "no error after deleting an edited vendor";
}

TEST_F(VendorWindowTest, RemovingTheOnlyVendorEmptiesTheListAndRemoveThenFails)
{
    addVendorRow("Keepsake Albums");
    open();
    clickRemove(controls::mb::Yes);
    EXPECT_EQ(caption(), "Vendor List (empty)");
    EXPECT_EQ(count(), "0");
    EXPECT_FALSE(fieldsEnabled());

    dialogs->clear();
    control<QPushButton>("SSCommand3")->click();
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Delete Error");
    EXPECT_EQ(messages[0].text, "No current record.");
}

TEST_F(VendorWindowTest, TypedStateIsAddedOnLeavingAndOfferedNextTime)
{
    addThreeVendors();
    open();
    auto* state = control<DataCombo>("addDBCombo2");
    testsupport::focus(state);
    state->lineEdit()->selectAll();
    QTest::keyClicks(state->lineEdit(), "Nunavut");
    leaveTo(control("Text6"));
    EXPECT_EQ(column("SELECT State FROM StateList WHERE State = 'Nunavut'"), QStringList{"Nunavut"});
    closeWindow();

    EXPECT_EQ(column("SELECT State FROM Vendors WHERE VendorName = 'Lens & Light Studio'"),
              QStringList{"Nunavut"});
    open();
    EXPECT_GE(control<DataCombo>("addDBCombo2")->findText("Nunavut"), 0);
}

TEST_F(VendorWindowTest, CityIsAddedOncePerClick)
{
    addThreeVendors();
    open();
    const QString countRiverton = "SELECT count(*) FROM CityList WHERE City = 'Riverton'";
    auto* city = control<DataCombo>("addDBCombo1");
    QTest::mouseClick(city->lineEdit(), Qt::LeftButton);
    city->lineEdit()->selectAll();
    QTest::keyClicks(city->lineEdit(), "Riverton");
    leaveTo(control("Text6"));
    EXPECT_EQ(column(countRiverton), QStringList{"1"});
    EXPECT_GE(city->findText("Riverton"), 0) << "offered at once";

    // Back into the box by keyboard, a new name typed: without a click nothing is added.
    leaveTo(city);
    city->lineEdit()->selectAll();
    QTest::keyClicks(city->lineEdit(), "Lakeside");
    leaveTo(control("Text6"));
    EXPECT_EQ(column("SELECT count(*) FROM CityList WHERE City = 'Lakeside'"), QStringList{"0"});
    EXPECT_TRUE(dialogs->calls.empty()) << "a refused or skipped name is not reported";
}

TEST_F(VendorWindowTest, ServiceTypeAndMultiLineNotesAreStoredAsEntered)
{
    addThreeVendors();
    open();
    auto* service = control<QComboBox>("Combo1");
    ASSERT_EQ(service->count(), 13);
    service->setCurrentIndex(service->findText("Jewlers"));
    auto* notes = control<QPlainTextEdit>("Text10");
    const QString text = "Ring sizing free within 30 days.\nCall Sam first.\n\nClosed Mondays.";
    notes->setPlainText(text);

    control<QAbstractButton>("Next")->click();
    EXPECT_EQ(caption(), "Petals & Stems");
    EXPECT_EQ(notes->toPlainText(), "Peonies in season May-June.");
    service->setEditText("Cake Artists");  // a service of the user's own
    control<QAbstractButton>("Previous")->click();
    EXPECT_EQ(notes->toPlainText(), text);
    EXPECT_EQ(service->currentText(), "Jewlers");
    EXPECT_EQ(column("SELECT Service FROM Vendors ORDER BY VendorName"),
              (QStringList{"Jewlers", "Cake Artists", ""}));
}

TEST_F(VendorWindowTest, FieldsTakeNoMoreThanTheirFieldsHold)
{
    addThreeVendors();
    open();
    auto* zip = control<QLineEdit>("Text6");
    testsupport::focus(zip);
    QTest::keyClicks(zip, QString(25, '9'));
    EXPECT_EQ(zip->text().size(), 20);
    closeWindow();
    EXPECT_TRUE(dialogs->messages().empty());
    EXPECT_EQ(column("SELECT Zip FROM Vendors WHERE VendorName = 'Lens & Light Studio'"),
              QStringList{QString(20, '9')});
}

TEST_F(VendorWindowTest, QuickSearchShowsAnOrdinaryNameWhole)
{
    addVendorRow("Paper Dove Invitations");
    addVendorRow("Castellano Floral Design");
    open();
    auto* list = control<controls::DataList>("addDBList1");
    const int room = list->viewport()->width();
    for (const QString name : {"Paper Dove Invitations", "Castellano Floral Design"})
        EXPECT_GE(room, list->fontMetrics().horizontalAdvance(name) + 4) << name.toStdString();
}

TEST_F(VendorWindowTest, EnterAndEscInAFieldLeaveTheWindowAlone)
{
    addThreeVendors();
    open();
    auto* name = control<QLineEdit>("Text1");
    testsupport::focus(name);
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(VendorWindowTest, OpensModallyFromTheEntryAndSavesEditsOnClose)
{
    addThreeVendors();
    int shown = 0;
    auto previous = controls::setModalHook([&](QWidget* w) {
        ++shown;
        findNamed<QLineEdit>(w, "Text7")->setText("217-555-0309");
        findNamed<QPushButton>(w, "SSCommand4")->click();
        return 0;
    });
    showVendorWindow();
    controls::setModalHook(previous);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(column("SELECT Phone FROM Vendors WHERE VendorName = 'Lens & Light Studio'"),
              QStringList{"217-555-0309"});
}

TEST_F(VendorWindowTest, LoadFailureIsReportedAndTheWindowIsNotShown)
{
    store::Workspace::defaultWorkspace().close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.databasePath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "DROP TABLE Vendors", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    openDatabase();

    int shown = 0;
    auto previous = controls::setModalHook([&](QWidget*) { return ++shown; });
    showVendorWindow();
    controls::setModalHook(previous);
    EXPECT_EQ(shown, 0);
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith("Can't open the vendor list.")) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].title.startsWith("Error #"));
}

}  // namespace
