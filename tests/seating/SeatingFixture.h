// A fresh wedding database with tables and parties made for each test, the seating
// manager loaded on it and shown, and the dialog seam faked.
#pragma once

#include "controls/DataList.h"
#include "controls/Dialogs.h"
#include "seating/TableEditState.h"
#include "seating/frmSeater.h"
#include "seating/frmTables.h"
#include "shell/Program.h"
#include "store/Handle.h"
#include "store/Store.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <sqlite3.h>

#include <functional>

namespace seatingtest {

struct TableRow {
    QString name;
    int number = 0;
    int max = 0;
    int assigned = 0;
};

struct PartyRow {
    qint64 tableid = 0;
    int tabletot = 0;
};

class SeatingTest : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    store::Database* db = nullptr;
    controls::ScopedFakeDialogs dialogs;

    void SetUp() override
    {
        shell::program().DatabasePath = dir.databasePath();
        db = &store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
    }

    void TearDown() override
    {
        controls::setModalHook({});
        store::Workspace::defaultWorkspace().close();
    }

    qint64 lastRowid() const { return sqlite3_last_insert_rowid(store::handleOf(*db)); }

    qint64 addTable(const QString& name, int max, int assigned = 0, int number = 0)
    {
        db->execute("INSERT INTO Tables (tablename, tablenumber, [max], assigned) VALUES (?, ?, ?, ?)",
                    {name, number, max, assigned});
        return lastRowid();
    }

    // A party; tableId 0 = not seated.
    qint64 addParty(const QVariant& prefix, const QVariant& first, const QVariant& last, int invited,
                    qint64 tableId = 0, int tabletot = 0)
    {
        db->execute(
            "INSERT INTO Guests (Prefix, FirstName, LastName, Invited, tableid, tabletot) VALUES (?, ?, ?, "
            "?, ?, ?)",
            {prefix, first, last, invited, tableId, tabletot});
        return lastRowid();
    }

    TableRow table(qint64 id) const
    {
        auto rs =
            db->openRecordset("SELECT tablename, tablenumber, [max], assigned FROM Tables WHERE TableId = " +
                                  QString::number(id),
                              store::RecordsetType::Snapshot);
        if (rs->eof())
            return {};
        return {rs->value("tablename").toString(), rs->value("tablenumber").toInt(), rs->value("max").toInt(),
                rs->value("assigned").toInt()};
    }

    int tableCount() const
    {
        return db->openRecordset("Tables", store::RecordsetType::Snapshot)->recordCount();
    }

    PartyRow party(qint64 key) const
    {
        auto rs =
            db->openRecordset("SELECT tableid, tabletot FROM Guests WHERE rowid = " + QString::number(key),
                              store::RecordsetType::Snapshot);
        return {rs->value("tableid").toLongLong(), rs->value("tabletot").toInt()};
    }

    // Loads the manager and shows it, as the main window does (without blocking).
    void open(frmSeater& w)
    {
        w.Form_Load();
        testsupport::showActive(&w);
        testsupport::pumpEvents();
    }

    // Runs `drive` on the table editor when the manager opens it.
    void onEditor(std::function<void(frmTables&)> drive)
    {
        controls::setModalHook([drive](QWidget* window) {
            auto* editor = qobject_cast<frmTables*>(window);
            if (!editor)
                return 0;
            testsupport::showActive(editor);
            drive(*editor);
            if (editor->isVisible())
                editor->close();
            return 0;
        });
    }

    static QStringList texts(const QListWidget* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->item(i)->text();
        return result;
    }

    // Row of the entry that stands for a party (-1 when absent).
    static int rowOfParty(const QListWidget* list, qint64 key)
    {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toLongLong() == key)
                return i;
        return -1;
    }

    // Picks the entry of a party list by its row, with the mouse.
    static void pick(QListWidget* list, int row)
    {
        const QRect at = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    }

    // Picks a table in the manager's table list, with the mouse.
    static void pickTable(frmSeater& w, int row)
    {
        const QRect at = w.DBList1->visualRect(w.DBList1->model()->index(row, 0));
        QTest::mouseClick(w.DBList1->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    }

    std::vector<controls::DialogCall> messages() { return dialogs->messages(); }
};

}  // namespace seatingtest
