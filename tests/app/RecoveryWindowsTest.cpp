// The recovery windows driven from the keyboard: the backup list and the window offered
// when the wedding file cannot be opened.
#include "app/frmRescue.h"
#include "app/frmRestore.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTreeWidget>

namespace {

std::vector<store::backup::Entry> threeBackups()
{
    std::vector<store::backup::Entry> entries;
    for (int i = 0; i < 3; ++i) {
        store::backup::Entry e;
        e.path = QStringLiteral("/backups/wedding-2026120%1-080000-daily.mdb").arg(3 - i);
        e.made = QDateTime(QDate(2026, 12, 3 - i), QTime(8, 0));
        e.size = 150 * 1024;
        e.reason = store::backup::Reason::Daily;
        e.guestParties = 100 - i;
        e.tasks = 50;
        entries.push_back(e);
    }
    return entries;
}

}  // namespace

TEST(RecoveryWindows, BackupListChosenWithArrowsAndEnterOrLeftWithEscape)
{
    {
        frmRestore window(threeBackups());
        ASSERT_TRUE(testsupport::showActive(&window));
        EXPECT_TRUE(window.lstBackups->hasFocus());  // the list takes the keys at once
        QTest::keyClick(window.lstBackups, Qt::Key_Down);
        QTest::keyClick(window.lstBackups, Qt::Key_Return);
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(window.chosenPath(), "/backups/wedding-20261202-080000-daily.mdb");
    }
    {
        frmRestore window(threeBackups());
        ASSERT_TRUE(testsupport::showActive(&window));
        QTest::keyClick(window.lstBackups, Qt::Key_Escape);
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_FALSE(window.isVisible());
    }
    {
        frmRestore window({});
        ASSERT_TRUE(testsupport::showActive(&window));
        QTest::keyClick(&window, Qt::Key_Return);  // nothing to restore: Enter restores nothing
        EXPECT_NE(window.result(), QDialog::Accepted);
        EXPECT_TRUE(window.chosenPath().isEmpty());
    }
}

TEST(RecoveryWindows, RescueEnterTakesTheFirstWayThatIsOpenAndEscapeQuits)
{
    {
        frmRescue window("damaged", true, true);
        ASSERT_TRUE(testsupport::showActive(&window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(window.result(), frmRescue::Repair);
    }
    {
        frmRescue window("missing", false, true);  // no file to repair
        ASSERT_TRUE(testsupport::showActive(&window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(window.result(), frmRescue::Restore);
    }
    {
        frmRescue window("damaged", true, true);
        ASSERT_TRUE(testsupport::showActive(&window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(window.result(), frmRescue::Quit);
        EXPECT_FALSE(window.isVisible());
    }
}
