#include "controls/DataGrid.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "tests/controls/ControlsTestDb.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>

using namespace controls;
using controlstest::TestDb;

namespace {

enum Col { Name, Active, Amount, Qty, Born };

// A window with a grid over People (stored order: Carol, Alice, Bob).
struct GridWindow {
    TestDb db;
    QWidget window;
    DataSource* data = new DataSource(&window);
    DataGrid* grid = new DataGrid(&window);

    explicit GridWindow(const QString& sql = controlstest::PeopleSchema) : db(sql)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        window.resize(600, 300);
        grid->setObjectName("grddataGrid");
        grid->addColumn({"Name", "Name"});
        grid->addColumn({"Active?", "Active", CellFormat::YesNo, "No", true});
        grid->addColumn({"Unit  Cost", "Amount", CellFormat::Currency});
        grid->addColumn({"Qty", "Qty", CellFormat::GeneralNumber, "1"});
        grid->addColumn({"Born", "Born", CellFormat::MediumDate});
        data->setRecordSource("People");
        data->refresh();
        grid->setDataSource(data);
        testsupport::showActive(&window);
        grid->setFocus();
    }

    // Types text into a cell as a user would: the first key opens the editor, Enter ends it.
    void type(int row, int column, const QString& text)
    {
        grid->setCurrentIndex(grid->model()->index(row, column));
        QTest::keyClick(grid, text.at(0).toLatin1());
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid) << "no editor opened";
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        testsupport::pumpEvents();  // the delegate commits Enter through a queued call
    }
    QVariant stored(const QString& name, const QString& field) const { return db.stored(name, field); }
};

}  // namespace

TEST(DataGrid, ShowsColumnsInTheirFormats)
{
    GridWindow w;
    EXPECT_EQ(w.grid->rowCount(), 4);  // three people and the empty new row
    EXPECT_EQ(w.grid->model()->headerData(Amount, Qt::Horizontal, Qt::DisplayRole).toString(), "Unit  Cost");
    EXPECT_EQ(w.grid->cellText(0, Active), "Yes");
    EXPECT_EQ(w.grid->cellText(0, Amount), "$12.50");
    EXPECT_EQ(w.grid->cellText(0, Qty), "4");
    EXPECT_EQ(w.grid->cellText(0, Born), "05-Mar-1990");
    EXPECT_EQ(w.grid->cellText(1, Active), "No");
    EXPECT_EQ(w.grid->cellText(1, Amount), "");
    EXPECT_EQ(w.grid->cellText(3, Name), "");  // the new row
    EXPECT_EQ(w.grid->cellValue(0, Amount).value<store::Currency>(), store::Currency::fromRaw(125000));
}

TEST(DataGrid, ReadsRowsLazilyInBlocks)
{
    QString sql = controlstest::PeopleSchema;
    sql +=
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4997) "
        "INSERT INTO People (Name, Amount) SELECT 'P' || i, i * 10000 FROM n;";
    GridWindow w(sql);
    EXPECT_EQ(w.grid->rowCount(), 5001);
    EXPECT_LE(w.grid->gridModel()->fetchedRowCount(), 2 * DataGridModel::BlockSize);
    EXPECT_EQ(w.grid->cellText(4999, Name), "P4997");
    EXPECT_EQ(w.grid->cellText(4999, Amount), "$4,997.00");
    EXPECT_LE(w.grid->gridModel()->fetchedRowCount(), 3 * DataGridModel::BlockSize);
}

TEST(DataGrid, CurrentRowFollowsTheDataSourceBothWays)
{
    GridWindow w;
    w.grid->setCurrentIndex(w.grid->model()->index(2, Name));
    EXPECT_EQ(w.data->fieldValue("Name").toString(), "Bob");
    w.data->moveFirst();
    EXPECT_EQ(w.grid->row(), 0);
    EXPECT_EQ(w.grid->columnText(Name), "Carol");
}

TEST(DataGrid, TypedCellsAreWrittenWhenTheRowIsLeft)
{
    GridWindow w;
    std::vector<std::pair<int, int>> edits;  // column, key that started it
    QObject::connect(w.grid, &DataGrid::beforeColEdit, [&](int c, int& key, bool&) {
        edits.push_back({c, key});
    });
    w.type(1, Amount, "7.25");
    EXPECT_EQ(w.grid->cellText(1, Amount), "$7.25");
    EXPECT_TRUE(w.stored("Alice", "Amount").isNull());  // not yet written
    w.grid->setCurrentIndex(w.grid->model()->index(0, Name));
    EXPECT_EQ(w.stored("Alice", "Amount").value<store::Currency>(), store::Currency::fromRaw(72500));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], std::make_pair(int(Amount), int('7')));
}

TEST(DataGrid, BeforeColEditCanCancelAndSeesTheStartingKey)
{
    ScopedFakeDialogs fake;  // the "." left in the date editor is refused when the window closes
    GridWindow w;
    QObject::connect(w.grid, &DataGrid::beforeColEdit, [&](int column, int& key, bool& cancel) {
        if (column == Born && key != '.')
            cancel = true;  // e.g. a date picker instead of an in-place edit
    });
    w.grid->setCurrentIndex(w.grid->model()->index(0, Born));
    QTest::keyClick(w.grid, '5');
    EXPECT_EQ(QApplication::focusWidget(), w.grid);  // no editor
    EXPECT_EQ(w.grid->row(), 0);                     // and no jump to another row
    QTest::keyClick(w.grid, '.');
    EXPECT_NE(QApplication::focusWidget(), w.grid);  // a plain text edit
}

TEST(DataGrid, TextAColumnCannotHoldIsRefusedAtTheCellWithOneMessage)
{
    GridWindow w;
    ScopedFakeDialogs fake;
    w.type(1, Born, ".not a date");
    ASSERT_EQ(fake->messages().size(), 1u);
    EXPECT_EQ(fake->messages()[0].informative,
              "Born takes a date, such as 15-Aug-2027. The cell keeps its value.");
    EXPECT_FALSE(w.data->isDirty());
    w.grid->setCurrentIndex(w.grid->model()->index(0, Name));
    EXPECT_EQ(w.grid->row(), 0);
    EXPECT_EQ(fake->messages().size(), 1u);
}

TEST(DataGrid, BeforeColUpdateRefusalKeepsTheOldValue)
{
    GridWindow w;
    int after = 0;
    QObject::connect(w.grid, &DataGrid::beforeColUpdate, [&](int column, const QVariant& old, bool& cancel) {
        EXPECT_EQ(old.value<store::Currency>(), store::Currency::fromRaw(125000));
        if (column == Amount && !isNumericText(w.grid->columnText(column)))  // the new text is in the cell
            cancel = true;
    });
    QObject::connect(w.grid, &DataGrid::afterColUpdate, [&](int) { ++after; });
    w.type(0, Amount, "abc");
    EXPECT_EQ(w.grid->cellText(0, Amount), "$12.50");
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(w.data->isDirty());
    w.type(0, Amount, "20");
    EXPECT_EQ(after, 1);
    w.data->updateRecord();
    EXPECT_EQ(w.stored("Carol", "Amount").value<store::Currency>(), store::Currency::fromUnits(20));
}

TEST(DataGrid, EmptyLastRowTakesANewRecordWithDefaults)
{
    GridWindow w;
    w.type(3, Name, "Dora");
    EXPECT_TRUE(w.data->isAdding());
    EXPECT_EQ(w.grid->cellText(3, Qty), "1");  // defaults appear with the first typed cell
    w.grid->setCurrentIndex(w.grid->model()->index(0, Name));
    EXPECT_EQ(w.data->recordCount(), 4);
    EXPECT_EQ(w.grid->rowCount(), 5);
    EXPECT_EQ(w.stored("Dora", "Qty").toLongLong(), 1);
    EXPECT_FALSE(w.stored("Dora", "Active").toBool());
    EXPECT_EQ(w.grid->row(), 0);
    EXPECT_EQ(w.grid->columnText(Name), "Carol");

    // Visiting the new row without typing adds nothing.
    w.grid->setCurrentIndex(w.grid->model()->index(4, Name));
    w.grid->setCurrentIndex(w.grid->model()->index(1, Name));
    EXPECT_EQ(w.data->recordCount(), 4);
}

TEST(DataGrid, CellButtonAndColumnsSetInCode)
{
    GridWindow w;
    QObject::connect(w.grid, &DataGrid::buttonClick, [&](int column) {
        w.grid->setColumnValue(column, !w.grid->columnValue(Active).toBool());
        w.grid->setColumnText(Born, w.grid->columnValue(Active).toBool() ? "6/5/2024" : "");
    });
    const QRect cell = w.grid->visualRect(w.grid->model()->index(1, Active));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(cell.right() - 3, cell.center().y()));
    EXPECT_EQ(w.grid->row(), 1);
    EXPECT_EQ(w.grid->cellText(1, Active), "Yes");
    EXPECT_EQ(w.grid->cellText(1, Born), "05-Jun-2024");
    w.data->updateRecord();
    EXPECT_TRUE(w.stored("Alice", "Active").toBool());
}

TEST(DataGrid, RowSelectorsSelectSeveralRows)
{
    GridWindow w;
    QHeaderView* selectors = w.grid->verticalHeader();
    auto sectionPoint = [&](int row) { return QPoint(5, selectors->sectionViewportPosition(row) + 3); };
    QTest::mouseClick(selectors->viewport(), Qt::LeftButton, Qt::NoModifier, sectionPoint(0));
    EXPECT_EQ(w.grid->selectedBookmarks().size(), 1u);
    // Ctrl+click adds a row; QTest's modifiers do not reach the view's selection command
    // offscreen, so the second row is added as the view itself would add it.
    w.grid->selectionModel()->select(w.grid->model()->index(2, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const auto marks = w.grid->selectedBookmarks();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0], *w.grid->rowBookmark(0));
    EXPECT_EQ(marks[1], *w.grid->rowBookmark(2));
}

TEST(DataGrid, PopupMenuReachesTheWindowAndTheGridNeverDeletes)
{
    GridWindow w;
    QMenu mnuGridEdit("Grid Control");
    QAction* mnuDelete = mnuGridEdit.addAction("Delete");
    int deletes = 0;
    QObject::connect(mnuDelete, &QAction::triggered, [&] { ++deletes; });
    w.grid->setPopupMenu(&mnuGridEdit);
    std::vector<int> downs;
    QObject::connect(w.grid, &DataGrid::mouseDown, [&](int button, int, QPoint) { downs.push_back(button); });

    const QRect cell = w.grid->visualRect(w.grid->model()->index(1, Name));
    QTest::mouseClick(w.grid->viewport(), Qt::RightButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(downs, std::vector<int>{button::Right});
    EXPECT_TRUE(mnuGridEdit.isVisible());
    mnuDelete->trigger();
    mnuGridEdit.hide();
    EXPECT_EQ(deletes, 1);

    w.grid->selectRow(1);
    QTest::keyClick(w.grid, Qt::Key_Delete);
    EXPECT_EQ(w.data->recordCount(), 3);
}

TEST(DataGrid, HeaderClickAndMouseUpModifiers)
{
    GridWindow w;
    w.grid->setCurrentIndex(w.grid->model()->index(2, Name));
    std::vector<int> heads, upShift;
    QObject::connect(w.grid, &DataGrid::headClick, [&](int c) { heads.push_back(c); });
    QObject::connect(w.grid, &DataGrid::mouseUp, [&](int, int shift, QPoint) { upShift.push_back(shift); });
    QHeaderView* header = w.grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(Born) + 5, 5));
    EXPECT_EQ(heads, std::vector<int>{Born});
    EXPECT_EQ(w.grid->row(), 2);  // a header click does not move the current row

    const QRect cell = w.grid->visualRect(w.grid->model()->index(2, Name));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cell.center());
    EXPECT_EQ(upShift, std::vector<int>{shift::Shift});
}

TEST(DataGrid, FollowsASortedRecordsetHandedToTheSource)
{
    GridWindow w;
    w.data->recordset()->setSort("[Name]");
    auto sorted = w.data->recordset()->openRecordset(store::RecordsetType::Dynaset);
    w.data->setRecordset(sorted->clone());
    EXPECT_EQ(w.grid->cellText(0, Name), "Alice");
    EXPECT_EQ(w.grid->cellText(2, Name), "Carol");
    EXPECT_EQ(w.grid->row(), 0);
}

TEST(DataGrid, FailedRowWriteKeepsTheGridOnTheRow)
{
    GridWindow w;
    ScopedFakeDialogs fake;
    w.type(1, Name, "A name far too long for its field");
    w.grid->setCurrentIndex(w.grid->model()->index(0, Name));
    ASSERT_EQ(fake->messages().size(), 1u);  // the store's own message
    EXPECT_EQ(fake->messages()[0].informative, "Name takes at most 20 characters.");
    EXPECT_EQ(w.grid->row(), 1);
    EXPECT_EQ(w.data->fieldValue("Name").toString(), "A name far too long for its field");
    QTest::keyClick(w.grid, Qt::Key_Escape);  // undoes the row's changes
    EXPECT_FALSE(w.data->isDirty());
    EXPECT_EQ(w.grid->cellText(1, Name), "Alice");
    w.grid->setCurrentIndex(w.grid->model()->index(0, Name));
    EXPECT_EQ(w.grid->row(), 0);
}
