// The fixture of the checklist and expense window tests: a fresh wedding database opened
// as the wedding database, scripted message boxes, and modal windows answered by a hook
// (the date picker picks or cancels as the test says; other windows are recorded).
#pragma once

#include "controls/DataGrid.h"
#include "controls/Dialogs.h"
#include "shell/DatePicker.h"
#include "shell/HelpViewer.h"
#include "shell/Program.h"
#include "shell/frmCalander.h"
#include "store/Store.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>

#include <memory>
#include <optional>
#include <vector>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace gridtest {

struct ModalShown {
    QString window;  // objectName, or "frmCalander"
    QString caption;
    QDate pickerStart;  // the date picker's date when it opened
    int tipNumber = 0;
};

class GridWindowTest : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    controls::ScopedFakeDialogs dialogs;
    std::vector<ModalShown> modals;
    // The date picker's answer: OK on this date, or Cancel when empty.
    std::optional<QDate> pickerAnswer;

    void SetUp() override
    {
        store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
        shell::program().DatabasePath = dir.databasePath();
        shell::program().HelpFilePath = dir.file(QStringLiteral("Orvane.HLP"));
        QFile help(shell::program().HelpFilePath);
        help.open(QIODevice::WriteOnly | QIODevice::Text);
        help.write("== 1002 To Do/Check List\nThe checklist.\n== 1005 Track Expenses\nThe expenses.\n");
        controls::setModalHook([this](QWidget* window) { return answer(window); });
    }

    void TearDown() override
    {
        controls::setModalHook({});
        if (HelpViewer* viewer = shell::currentHelpViewer())
            viewer->close();
        testsupport::pumpEvents();
        store::Workspace::defaultWorkspace().close();
    }

    int answer(QWidget* window)
    {
        if (auto* picker = qobject_cast<frmCalander*>(window)) {
            modals.push_back({QStringLiteral("frmCalander"), picker->windowTitle(), picker->value(), 0});
            if (pickerAnswer) {
                picker->setValue(*pickerAnswer);
                picker->cmdOK_Click();
            } else {
                picker->cmdCancel_Click();
            }
            return 0;
        }
        modals.push_back({window->objectName(), window->windowTitle(), QDate(), shell::program().TipNumber});
        return 0;
    }

    static store::Database& db() { return shell::database(); }
    static void execute(const QString& sql, const QVariantList& params = {}) { db().execute(sql, params); }

    // One stored value: the first row of a SELECT in the program's dialect.
    static QVariant stored(const QString& select)
    {
        auto rows = db().openRecordset(select, store::RecordsetType::Snapshot);
        return rows->eof() ? QVariant() : rows->value(0);
    }
    // A field of the row of table whose column key holds value.
    static QVariant storedField(const QString& table, const QString& key, const QString& value,
                                const QString& field)
    {
        return stored(QStringLiteral("SELECT [%1] FROM %2 WHERE [%3] = %4")
                          .arg(field, table, key, store::quoteText(value)));
    }
    static int count(const QString& table)
    {
        return int(stored(QStringLiteral("SELECT Count(*) FROM ") + table).toLongLong());
    }

    // Opens a window as the main window does: with a fresh record set over table.
    template <typename Window>
    std::unique_ptr<Window> openOver(const QString& table)
    {
        auto window = std::make_unique<Window>();
        window->Data1->setRecordset(db().openRecordset(table, store::RecordsetType::Dynaset));
        testsupport::showActive(window.get());
        grid = window->grddataGrid;
        return window;
    }
    controls::DataGrid* grid = nullptr;  // the grid of the window opened last

    // ---- driving a grid as the user does -----------------------------------------------
    static void goTo(controls::DataGrid* grid, int row, int column)
    {
        grid->setCurrentIndex(grid->model()->index(row, column));
    }
    // Types text into a cell: the first key opens the editor, Enter ends the edit.
    static void type(controls::DataGrid* grid, int row, int column, const QString& text)
    {
        goTo(grid, row, column);
        QTest::keyClick(grid, text.at(0).toLatin1());
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid) << "no editor opened";
        QTest::keyClicks(editor, text.mid(1));
        endEdit(editor);
    }
    // Enter in a cell editor: the grid takes the text once the events have run.
    static void endEdit(QWidget* editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        testsupport::pumpEvents();
    }
    // Empties a cell through its editor.
    static void clear(controls::DataGrid* grid, int row, int column)
    {
        goTo(grid, row, column);
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid) << "no editor opened";
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        endEdit(editor);
    }
    static void clickHeader(controls::DataGrid* grid, int column,
                            Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QHeaderView* header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
    }
    // Selects whole rows, as the row selectors do.
    static void selectRows(controls::DataGrid* grid, std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = grid->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(grid->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    static QStringList columnTexts(controls::DataGrid* grid, int column)
    {
        QStringList texts;
        for (int row = 0; row < grid->gridModel()->recordCount(); ++row)
            texts << grid->cellText(row, column);
        return texts;
    }
    std::vector<controls::DialogCall> messages() { return dialogs->messages(); }
};

}  // namespace gridtest
