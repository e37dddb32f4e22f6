// The windows only the main window opens: welcome, about and splash.
#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "app/frmWelcome.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

TEST(SmallWindows, WelcomeTextAndEnterStartsPlanning)
{
    frmWelcome welcome;
    EXPECT_EQ(welcome.Label1->text(), "Congratulations");
    EXPECT_EQ(welcome.Label2->text(),
              "On Your Engagement\nand\nfor deciding to take full control over your wedding plans with the "
              "Orvane planner.\n\nNow let's get down to business!");
    welcome.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
    welcome.activateWindow();
    QApplication::setActiveWindow(&welcome);
    EXPECT_TRUE(welcome.Command1->hasFocus());
    QTest::keyClick(welcome.Command1, Qt::Key_Return);
    EXPECT_EQ(welcome.result(), QDialog::Accepted);
    EXPECT_FALSE(welcome.isVisible());
}

TEST(SmallWindows, VersionTextsAndCaptions)
{
    frmAbout about;
    frmSplash splash;
    EXPECT_EQ(about.windowTitle(), "About Orvane");
    EXPECT_EQ(about.Label5->text(), "v. 1.00");
    EXPECT_EQ(about.Command1->text(), "O.K.");
    EXPECT_EQ(splash.Label3->text(), "Version 1.00");
}
