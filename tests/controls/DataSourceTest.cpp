#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/MaskedEdit.h"
#include "tests/controls/ControlsTestDb.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

using namespace controls;
using controlstest::TestDb;

namespace {

// A window with a data source over People (stored order: Carol, Alice, Bob).
struct PeopleWindow {
    TestDb db;
    QDialog window;
    DataSource* data = new DataSource(&window);
    QLineEdit* name = new QLineEdit(&window);
    QCheckBox* active = new QCheckBox(&window);
    QLineEdit* amount = new QLineEdit(&window);
    QLineEdit* qty = new QLineEdit(&window);
    QLineEdit* born = new QLineEdit(&window);
    QPlainTextEdit* notes = new QPlainTextEdit(&window);
    MaskedEdit* phone = new MaskedEdit(&window);
    QLabel* city = new QLabel(&window);
    int repositions = 0;
    std::vector<ValidateEvent> validates;

    PeopleWindow()
    {
        data->setObjectName("Data1");
        data->setDatabaseName(db.path());
        data->setRecordSource("People");
        data->setRecordsetType(store::RecordsetType::Dynaset);
        phone->setMask(PhoneMask);
        data->bind(name, "Name");
        data->bind(active, "Active");
        data->bind(amount, "Amount");
        data->bind(qty, "Qty");
        data->bind(born, "Born");
        data->bind(notes, "Notes");
        data->bind(phone, "Phone");
        data->bind(city, "City");
        QObject::connect(data, &DataSource::reposition, [this] { ++repositions; });
        QObject::connect(data, &DataSource::validate, [this](ValidateEvent& e) { validates.push_back(e); });
        data->refresh();
    }
    QVariant stored(const QString& name, const QString& field) const { return db.stored(name, field); }
};

}  // namespace

TEST(DataSource, LoadsBoundWidgetsOnEveryReposition)
{
    PeopleWindow w;
    EXPECT_EQ(w.repositions, 1);
    EXPECT_EQ(w.name->text(), "Carol");
    EXPECT_TRUE(w.active->isChecked());
    EXPECT_EQ(w.amount->text(), "12.50");
    EXPECT_EQ(w.qty->text(), "4");
    EXPECT_EQ(w.born->text(), "3/5/1990");
    EXPECT_EQ(w.city->text(), "Boston");

    ASSERT_TRUE(w.data->moveNext());  // Alice: Nulls load as empty
    EXPECT_EQ(w.repositions, 2);
    EXPECT_EQ(w.name->text(), "Alice");
    EXPECT_FALSE(w.active->isChecked());
    EXPECT_EQ(w.amount->text(), "");
    EXPECT_EQ(w.born->text(), "");
    EXPECT_EQ(w.phone->text(), "");

    ASSERT_TRUE(w.data->moveNext());
    EXPECT_EQ(w.born->text(), "12/24/1985 2:30 PM");
    ASSERT_TRUE(w.data->moveNext());  // past the last row: no current row, empty widgets
    EXPECT_TRUE(w.data->eof());
    EXPECT_EQ(w.name->text(), "");
    EXPECT_EQ(w.repositions, 4);
}

TEST(DataSource, WritesOnlyChangedValuesWhenTheRowIsLeft)
{
    PeopleWindow w;
    // Changed in the file behind the window's back: an unchanged widget must not overwrite it.
    w.db.db().execute("UPDATE People SET City = 'Denver' WHERE Name = 'Carol'");
    w.name->setText("Caroline");
    w.amount->setText("$1,234.5");
    w.qty->setText("");
    w.active->setChecked(false);
    w.phone->setText("(555) 123-4567");
    w.notes->setPlainText("line one\nline two");
    EXPECT_TRUE(w.data->isDirty());
    ASSERT_TRUE(w.data->moveNext());

    ASSERT_EQ(w.validates.size(), 1u);
    EXPECT_EQ(w.validates[0].action, ValidateEvent::Action::MoveNext);
    EXPECT_TRUE(w.validates[0].save);
    EXPECT_EQ(w.stored("Caroline", "City").toString(), "Denver");
    EXPECT_EQ(w.stored("Caroline", "Amount").value<store::Currency>(), store::Currency::fromRaw(12345000));
    EXPECT_TRUE(w.stored("Caroline", "Qty").isNull());  // an emptied number is Null
    EXPECT_FALSE(w.stored("Caroline", "Active").toBool());
    EXPECT_EQ(w.stored("Caroline", "Phone").toString(), "(555) 123-4567");
    EXPECT_EQ(w.stored("Caroline", "Notes").toString(), "line one\nline two");
}

TEST(DataSource, ValidateCanKeepTheRow)
{
    PeopleWindow w;
    QObject::connect(w.data, &DataSource::validate, [](ValidateEvent& e) { e.cancel = true; });
    w.name->setText("Caroline");
    EXPECT_FALSE(w.data->moveNext());
    EXPECT_EQ(w.name->text(), "Caroline");
    EXPECT_EQ(w.data->absolutePosition(), 0);
    EXPECT_EQ(w.stored("Carol", "Name").toString(), "Carol");
}

TEST(DataSource, StoreFailureRaisesErrorAndShowsTheStoreMessage)
{
    PeopleWindow w;
    ScopedFakeDialogs fake;
    std::vector<int> numbers;
    QObject::connect(w.data, &DataSource::error, [&](DataErrorEvent& e) { numbers.push_back(e.number); });

    w.name->setText("A name far too long for its field");
    EXPECT_FALSE(w.data->moveNext());  // the row is kept with the user's text
    EXPECT_EQ(w.data->absolutePosition(), 0);
    EXPECT_EQ(w.name->text(), "A name far too long for its field");
    ASSERT_EQ(numbers, std::vector<int>{store::err::FieldTooLong});
    ASSERT_EQ(fake->messages().size(), 1u);
    EXPECT_EQ(fake->messages()[0].title, "Orvane");
    EXPECT_EQ(mb::iconOf(fake->messages()[0].style), mb::Exclamation);

    // Letters in a money field reach the store, which refuses them with its type error.
    w.name->setText("Carol");
    w.amount->setText("lots");
    EXPECT_FALSE(w.data->moveNext());
    EXPECT_EQ(numbers.back(), store::err::TypeMismatch);

    w.data->cancelUpdate();  // back to the stored values; now the move succeeds
    EXPECT_EQ(w.amount->text(), "12.50");
    EXPECT_TRUE(w.data->moveNext());
    EXPECT_EQ(w.stored("Carol", "Amount").value<store::Currency>(), store::Currency::fromRaw(125000));
}

TEST(DataSource, AStoreFailureSaysWhyNamingTheFieldByItsCaption)
{
    PeopleWindow w;
    ScopedFakeDialogs fake;
    QLabel caption("&Last Name:", &w.window);
    caption.setBuddy(w.name);
    std::vector<DataErrorEvent> events;
    QObject::connect(w.data, &DataSource::error, [&](DataErrorEvent& e) { events.push_back(e); });

    w.name->setText("A name far too long for its field");
    EXPECT_FALSE(w.data->moveNext());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].field, "Name");
    EXPECT_EQ(events[0].reason, "Last Name takes at most 20 characters.");
    ASSERT_EQ(fake->messages().size(), 1u);
    EXPECT_EQ(fake->messages()[0].informative, "Last Name takes at most 20 characters.");

    // A field without a label is named by its caption, or by its name in words.
    w.data->cancelUpdate();
    w.data->setFieldCaption("Amount", "Gift Amount");
    w.amount->setText("lots");
    EXPECT_FALSE(w.data->moveNext());
    EXPECT_EQ(events.back().reason, "Gift Amount takes an amount, such as 12.50.");
    EXPECT_EQ(w.amount->text(), "lots") << "what was typed stays to be corrected";

    // A locked file is the file's failure, not the field's.
    w.data->cancelUpdate();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(w.db.path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    w.name->setText("Caroline");
    EXPECT_FALSE(w.data->moveNext());
    EXPECT_EQ(events.back().number, store::err::FileLocked);
    EXPECT_EQ(events.back().reason, "The database is locked by another program.");
    EXPECT_EQ(w.name->text(), "Caroline");
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(w.data->moveNext());
    EXPECT_EQ(w.stored("Caroline", "City"), "Boston");
}

TEST(DataSource, LineBreaksPastedIntoOneLineBoxesAreNotStored)
{
    PeopleWindow w;
    QComboBox city(&w.window);
    city.setEditable(true);
    w.data->unbind(w.city);
    w.data->bind(&city, "City");
    testsupport::showActive(&w.window);
    QApplication::clipboard()->setText("Rose & Co\nFlorists\n");
    w.name->setFocus();
    w.name->selectAll();
    QTest::keyClick(w.name, Qt::Key_V, Qt::ControlModifier);
    city.setEditText("Austin\r\nTexas");
    ASSERT_TRUE(w.data->moveNext());
    EXPECT_EQ(w.stored("Rose & Co Florists", "City"), "Austin Texas");
    // Multi-line boxes keep their lines.
    w.notes->setPlainText("first line\nsecond line");
    ASSERT_TRUE(w.data->movePrevious());
    EXPECT_EQ(w.stored("Alice", "Notes"), "first line\nsecond line");
}

TEST(DataSource, HandledErrorSuppressesTheMessage)
{
    PeopleWindow w;
    ScopedFakeDialogs fake;
    QObject::connect(w.data, &DataSource::error, [](DataErrorEvent& e) {
        e.response = DataErrorEvent::Response::Handled;
        MsgBox("You have entered invalid data", mb::OKOnly | mb::Exclamation, "Invalid Data");
    });
    w.name->setText("A name far too long for its field");
    EXPECT_FALSE(w.data->moveNext());
    ASSERT_EQ(fake->messages().size(), 1u);
    EXPECT_EQ(fake->messages()[0].title, "Invalid Data");
}

TEST(DataSource, RefreshAndClosingTheWindowWriteBack)
{
    PeopleWindow w;
    w.name->setText("Carla");
    w.data->refresh();
    EXPECT_EQ(w.stored("Carla", "City").toString(), "Boston");
    EXPECT_EQ(w.name->text(), "Carla");

    w.data->moveLast();
    w.name->setText("Robert");
    w.window.show();
    w.window.close();
    EXPECT_EQ(w.stored("Robert", "City").toString(), "Chicago");
}

TEST(DataSource, MovesInCodeBookmarksAndFind)
{
    PeopleWindow w;
    ASSERT_TRUE(w.data->findFirst("[Name] = ?", {"Bob"}));
    EXPECT_EQ(w.name->text(), "Bob");
    const store::Bookmark bob = *w.data->bookmark();
    w.data->findFirst("[Name] = 'Nobody'");
    EXPECT_TRUE(w.data->noMatch());
    EXPECT_EQ(w.name->text(), "Bob");
    w.data->moveFirst();
    ASSERT_TRUE(w.data->setBookmark(bob));
    EXPECT_EQ(w.name->text(), "Bob");
    EXPECT_THROW(w.data->setBookmark(987654), store::StoreError);
}

TEST(DataSource, AddNewThroughTheSourceAndThroughTheRecordset)
{
    PeopleWindow w;
    ASSERT_TRUE(w.data->addNew());
    EXPECT_EQ(w.name->text(), "");
    w.name->setText("Dora");
    ASSERT_TRUE(w.data->updateRecord());
    EXPECT_EQ(w.data->recordCount(), 4);
    EXPECT_EQ(w.name->text(), "Dora");  // the new row is current
    EXPECT_EQ(w.stored("Dora", "Name").toString(), "Dora");

    // Changes made on the record set in code, followed by resync().
    store::Recordset* rs = w.data->recordset();
    rs->addNew();
    rs->setValue("Name", "Eve");
    rs->update();
    rs->setBookmark(rs->lastModified());
    w.data->resync(true);
    EXPECT_EQ(w.name->text(), "Eve");
    EXPECT_EQ(w.data->recordCount(), 5);
}

TEST(DataSource, TableTypeWithIndexAndHandedInRecordset)
{
    PeopleWindow w;
    w.data->setRecordsetType(store::RecordsetType::Table);
    w.data->refresh();
    w.data->setIndex("Name");
    w.data->moveFirst();
    EXPECT_EQ(w.name->text(), "Alice");

    auto sorted = w.db.db().openRecordset("People", store::RecordsetType::Dynaset);
    sorted->setSort("[Name] desc");
    w.data->setRecordset(sorted->openRecordset());
    EXPECT_EQ(w.name->text(), "Carol");
    w.data->moveLast();
    EXPECT_EQ(w.name->text(), "Alice");
}

TEST(DataSource, NavigatorMovesAndShowsTheCaption)
{
    PeopleWindow w;
    QObject::connect(w.data, &DataSource::reposition,
                     [&] { w.data->setCaption(w.data->fieldValue("Name").toString()); });
    DataNavigator* nav = w.data->createNavigator(&w.window);
    w.data->moveFirst();
    EXPECT_EQ(nav->objectName(), "Data1");
    EXPECT_EQ(nav->caption(), "Carol");

    auto click = [&](const char* button) { testsupport::findNamed<QToolButton>(nav, button)->click(); };
    click("Previous");  // never before the first row
    EXPECT_EQ(nav->caption(), "Carol");
    click("Next");
    EXPECT_EQ(nav->caption(), "Alice");
    click("Last");
    click("Next");  // never past the last row
    EXPECT_EQ(nav->caption(), "Bob");
    EXPECT_TRUE(w.data->hasCurrent());
    click("First");
    EXPECT_EQ(w.name->text(), "Carol");
}

TEST(DataSource, EmptyRecordset)
{
    TestDb db("CREATE TABLE Things (Name TEXT(20));");
    QWidget window;
    DataSource data(&window);
    auto* name = new QLineEdit(&window);
    data.setRecordSource("Things");
    data.bind(name, "Name");
    int repositions = 0;
    QObject::connect(&data, &DataSource::reposition, [&] { ++repositions; });
    data.refresh();
    EXPECT_EQ(repositions, 1);
    EXPECT_TRUE(data.isEmpty());
    EXPECT_FALSE(data.hasCurrent());
    name->setText("typed without a row");
    EXPECT_TRUE(data.updateRecord());  // no row: nothing to write, nothing raised
    EXPECT_EQ(data.recordCount(), 0);
}
