#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Events.h"
#include "controls/ListValues.h"
#include "tests/controls/ControlsTestDb.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace controls;
using controlstest::TestDb;

namespace {

struct ListWindow {
    TestDb db;
    QWidget window;
    DataSource* Data1 = new DataSource(&window);  // People
    DataSource* Data2 = new DataSource(&window);  // CityList
    DataList* list = new DataList(&window);
    DataCombo* city = new DataCombo(&window);
    QLineEdit* name = new QLineEdit(&window);

    explicit ListWindow(const QString& sql = controlstest::PeopleSchema) : db(sql)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(list);
        layout->addWidget(city);
        layout->addWidget(name);
        Data1->setRecordSource("People");
        Data1->setRecordsetType(store::RecordsetType::Table);
        Data2->setRecordSource("CityList");
        Data1->bind(name, "Name");
        Data1->bind(city, "City");
        Data1->refresh();
        Data1->setIndex("Name");
        Data2->refresh();
        list->setRowSource(Data1, "Name");
        city->setRowSource(Data2, "City");
        testsupport::showActive(&window);
    }
};

}  // namespace

TEST(DataList, OneEntryPerRowWithItsBookmark)
{
    ListWindow w;
    ASSERT_EQ(w.list->count(), 3);
    EXPECT_EQ(w.list->itemText(0), "Alice");  // in the index order of the source
    EXPECT_EQ(w.list->itemText(2), "Carol");
    EXPECT_EQ(w.list->listIndex(), -1);
    EXPECT_FALSE(w.list->selectedBookmark());

    w.Data1->moveLast();
    const store::Bookmark carol = *w.Data1->bookmark();
    EXPECT_EQ(*w.list->bookmarkAt(2), carol);
    EXPECT_TRUE(w.list->selectBookmark(carol));
    EXPECT_EQ(w.list->text(), "Carol");
    EXPECT_EQ(w.list->boundText().toString(), "Carol");
}

TEST(DataList, PickMovesTheRowSource)
{
    ListWindow w;
    on(w.list).click([&] { w.list->moveRowSourceToSelection(); });
    w.list->setFocus();
    const QRect bob = w.list->visualRect(w.list->model()->index(1, 0));
    QTest::mouseClick(w.list->viewport(), Qt::LeftButton, Qt::NoModifier, bob.center());
    EXPECT_EQ(w.name->text(), "Bob");
    QTest::keyClick(w.list, Qt::Key_Down);  // a pick by keyboard is a Click too
    EXPECT_EQ(w.name->text(), "Carol");
}

TEST(DataList, RefillsWhenRowsChangeThroughTheSource)
{
    ListWindow w;
    w.Data1->moveFirst();
    w.name->setText("Abigail");  // Alice renamed: her entry is re-read when the row is written
    w.Data1->updateRecord();
    EXPECT_EQ(w.list->itemText(0), "Abigail");

    w.Data1->addNew();
    w.name->setText("Aaron");
    w.Data1->updateRecord();
    ASSERT_EQ(w.list->count(), 4);
    EXPECT_EQ(w.list->itemText(0), "Aaron");
}

TEST(DataList, DisplayBuiltFromSeveralFieldsAndBoundValues)
{
    ListWindow w;
    DataList tables;
    tables.setRowSource(
        w.Data1, {"Name", "City"},
        [](const QVariantList& v) { return v[0].toString() + " (" + v[1].toString() + ")"; }, "Qty");
    EXPECT_EQ(tables.itemText(0), "Alice (Austin)");
    EXPECT_TRUE(tables.selectBoundValue(qint64(1)));
    EXPECT_EQ(tables.text(), "Bob (Chicago)");
    EXPECT_FALSE(tables.selectBoundValue(qint64(99)));
    EXPECT_EQ(tables.text(), "Bob (Chicago)");
}

TEST(DataCombo, ListFromOneTableTextBoundToAnother)
{
    ListWindow w;
    w.Data1->moveFirst();  // Alice, Austin
    ASSERT_EQ(w.city->count(), 3);
    EXPECT_EQ(w.city->itemText(1), "Boston");
    EXPECT_EQ(w.city->currentText(), "Austin");
    EXPECT_EQ(w.city->boundText().toString(), "Austin");

    // Free text is allowed, never added to the list by typing, and written to the person.
    w.city->setEditText("Denver");
    int changes = 0;
    on(w.city).change([&] { ++changes; });
    // Adding Denver to the list refills it without touching the typed text.
    auto* rs = w.Data2->recordset();
    rs->addNew();
    rs->setValue("City", "Denver");
    rs->update();
    w.Data2->resync();
    EXPECT_EQ(w.city->count(), 4);
    EXPECT_EQ(w.city->currentText(), "Denver");
    EXPECT_EQ(changes, 0);
    w.Data1->moveNext();
    w.Data1->moveFirst();
    EXPECT_EQ(w.city->currentText(), "Denver");
}

TEST(DataCombo, AppendedNamesAreOfferedAndRefusedOnesSkipped)
{
    ListWindow w;
    w.city->setEditText("Boston");
    EXPECT_FALSE(appendListValue(*w.Data2, "City", "boston"));  // a duplicate in any case
    EXPECT_TRUE(appendListValue(*w.Data2, "City", "Denver"));   // the list is still usable
    EXPECT_EQ(w.city->count(), 4);
    EXPECT_GE(w.city->findText("Denver"), 0);
    EXPECT_EQ(w.city->currentText(), "Boston");
    EXPECT_EQ(w.Data2->recordset()->editMode(), store::EditMode::None);
}

TEST(DataList, FillsTenThousandRows)
{
    QString sql =
        "CREATE TABLE Big (Name TEXT(20));"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
        "INSERT INTO Big (Name) SELECT 'Guest ' || i FROM n;";
    TestDb db(sql);
    DataSource source;
    source.setRecordSource("Big");
    source.refresh();
    DataList list;
    QElapsedTimer timer;
    timer.start();
    list.setRowSource(&source, "Name");
    const qint64 ms = timer.elapsed();
    EXPECT_EQ(list.count(), 10000);
    EXPECT_EQ(list.itemText(9999), "Guest 10000");
    std::printf("filling 10,000 entries: %lld ms\n", static_cast<long long>(ms));  // shown, not asserted
}
