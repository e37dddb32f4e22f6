// The main window's navigation, hover colours, menus and exit.
#include "app/NavLabel.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "budget/BudgetStore.h"
#include "shell/Help.h"
#include "shell/HelpViewer.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using apptest::ProgramRun;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        run_.setNames("Anna", "Ben");
        ASSERT_TRUE(run_.start());
    }
    frmMain& main() { return run_.main(); }
    std::vector<int> fills()
    {
        std::vector<int> colours;
        for (int i = 1; i <= 8; ++i)
            colours.push_back(main().findChild<NavShape*>(QStringLiteral("Shape%1").arg(i))->fillColor());
        return colours;
    }
    static std::vector<int> onlyRed(int shape)
    {
        std::vector<int> colours(8, app::RestColour);
        colours[shape - 1] = app::HighlightColour;
        return colours;
    }

    ProgramRun run_;
};

TEST_F(MainWindowTest, LabelsCaptionsAndTheirRectangles)
{
    const std::tuple<const char*, const char*, const char*> labels[] = {
        {"imggeneral", "General Information", "Shape3"},
        {"imgguests", "Guest List Manager", "Shape1"},
        {"imgexpense", "Track Expenses", "Shape2"},
        {"imgcheck", "To Do/Check List", "Shape6"},
        {"imgseater", "Reception Seating Manager", "Shape7"},
        {"imgreports", "Print Reports/Labels", "Shape4"},
        {"imgvendor", "Vendor List", "Shape8"},
        {"imgexit", "Exit Program", "Shape5"}};
    for (const auto& [name, caption, shape] : labels) {
        auto* label = main().findChild<NavLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), caption);
        EXPECT_EQ(label->parentWidget()->objectName(), shape);  // drawn over its own rectangle
    }
}

TEST_F(MainWindowTest, HoverMovesTheRedFillAndTheBackgroundClearsIt)
{
    EXPECT_EQ(fills(), std::vector<int>(8, app::RestColour));
    QTest::mouseMove(main().imgguests);
    EXPECT_EQ(fills(), onlyRed(1));
    EXPECT_EQ(main().imgguests->cursor().pixmap().cacheKey(),
              shell::program().NavigationCursor.pixmap().cacheKey());
    EXPECT_FALSE(shell::program().NavigationCursor.pixmap().isNull());
    QTest::mouseMove(main().imgexit);  // straight to another label
    EXPECT_EQ(fills(), onlyRed(5));
    QTest::mouseMove(main().centralWidget(), QPoint(3, 3));  // bare background
    EXPECT_EQ(fills(), std::vector<int>(8, app::RestColour));
}

TEST_F(MainWindowTest, EveryLabelClicksAndOpensItsWindow)
{
    for (NavLabel* label : {main().imgguests, main().imgexpense, main().imgcheck, main().imgseater,
                            main().imgreports, main().imgvendor}) {
        QTest::mouseClick(label, Qt::LeftButton);
    }
    EXPECT_EQ(run_.sounds, QStringList(6, "click"));
    EXPECT_TRUE(run_.modals.contains("frmVendors"));
    EXPECT_TRUE(run_.modals.contains("frmCheck"));
    EXPECT_TRUE(run_.modals.contains("frmDataGrid"));
    EXPECT_TRUE(run_.modals.contains("frmReports"));
    EXPECT_TRUE(run_.modals.contains("frmSeater"));
    EXPECT_TRUE(run_.modals.contains("frmGuests"));
    EXPECT_TRUE(run_.dialogs->messages().empty());
    EXPECT_NE(store::Workspace::defaultWorkspace().database(), nullptr);
}

TEST_F(MainWindowTest, TheFileMenuOpensTheBudget)
{
    auto* item = main().findChild<QAction*>("mnuBudget");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(main().mnuFile->actions().contains(item));
    item->trigger();
    EXPECT_TRUE(run_.modals.contains("frmBudget"));
    EXPECT_TRUE(run_.dialogs->messages().empty());
}

TEST_F(MainWindowTest, OverduePaymentsAreALineUnderTheCaptionNeverABox)
{
    EXPECT_FALSE(main().lblOverdue->isVisible()) << "the delivered wedding has no payments";
    budget::NewExpense hall;
    hall.description = "Hall";
    hall.unitCost = store::Currency::fromUnits(500);
    budget::Payment deposit, balance;
    deposit.deposit = true;
    deposit.due = QDate::currentDate().addDays(-1);
    deposit.amount = store::Currency::fromUnits(120);
    balance.due = QDate::currentDate();  // due today is not overdue
    balance.amount = store::Currency::fromUnits(380);
    hall.payments = {deposit, balance};
    budget::addExpense(shell::database(), hall);
    main().Show_Overdue();
    EXPECT_TRUE(main().lblOverdue->isVisible());
    EXPECT_EQ(main().lblOverdue->text().toStdString(),
              "1 payment of the budget is overdue ($120.00): File > Budget... lists it.");
    shell::database().execute("UPDATE PlanPayments SET IsPaid = True");
    main().Show_Overdue();
    EXPECT_FALSE(main().lblOverdue->isVisible());
    EXPECT_TRUE(run_.dialogs->messages().empty());
}

// A reminder that cannot be read stays hidden without a box, and the failure goes to the log.
TEST_F(MainWindowTest, AnUnreadableReminderIsLoggedNotShown)
{
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg && QByteArray(context.category) == "orvane")
                logged << text;
        });
    apptest::execSql(run_.databasePath(), "ALTER TABLE PlanPayments RENAME COLUMN Amount TO Sum");
    main().Show_Overdue();
    qInstallMessageHandler(previous);
    EXPECT_FALSE(main().lblOverdue->isVisible());
    EXPECT_TRUE(run_.dialogs->messages().empty());
    ASSERT_EQ(logged.size(), 1) << logged.join('|').toStdString();
    EXPECT_TRUE(logged[0].startsWith("reading the overdue payments failed: ")) << logged[0].toStdString();
    EXPECT_TRUE(logged[0].contains("(error ")) << logged[0].toStdString();
}

TEST_F(MainWindowTest, F1OpensTheTopicOfTheWindowItIsPressedIn)
{
    // The key the help viewer shows after F1 in a window, closing the viewer again.
    auto helpKeyAfterF1 = [](QWidget* window) {
        testsupport::showActive(window);
        QWidget* at = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(at, Qt::Key_F1);
        testsupport::pumpEvents();
        HelpViewer* viewer = shell::currentHelpViewer();
        const QString key = viewer && viewer->isVisible() ? viewer->currentKey() : QString();
        if (viewer)
            viewer->close();
        testsupport::pumpEvents();
        return key;
    };
    QMap<QString, QString> keys;
    run_.onModal = [&](QWidget* window) {
        keys[window->objectName()] = helpKeyAfterF1(window);
        window->close();
    };
    for (NavLabel* label : {main().imgguests, main().imgexpense, main().imgcheck, main().imgseater,
                            main().imgreports, main().imgvendor})
        QTest::mouseClick(label, Qt::LeftButton);
    const QMap<QString, QString> expected = {{"frmGuests", "1001"},  {"frmDataGrid", "1005"},
                                             {"frmCheck", "1002"},   {"frmSeater", "1007"},
                                             {"frmReports", "1006"}, {"frmVendors", "1008"}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(keys.value(it.key()), it.value()) << it.key().toStdString();

    EXPECT_EQ(helpKeyAfterF1(&main()), "1004");
    QTest::mouseClick(main().imggeneral, Qt::LeftButton);
    testsupport::pumpEvents();
    ASSERT_TRUE(main().frameGeneral->isVisible());
    main().txtbridesname->setFocus();
    EXPECT_EQ(helpKeyAfterF1(&main()), "1000");
}

TEST_F(MainWindowTest, ExitLabelMenuAndCloseBoxAllEndTheProgram)
{
    auto expectExit = [&](const std::function<void()>& command) {
        run_.sounds.clear();
        const int ends = run_.dialogs->endProgramCount;
        command();
        EXPECT_EQ(run_.sounds, QStringList({"click"}));
        EXPECT_EQ(store::Workspace::defaultWorkspace().database(), nullptr);
        EXPECT_EQ(run_.dialogs->endProgramCount, ends + 1);
        EXPECT_TRUE(run_.dialogs->messages().empty());  // no confirmation
        store::Workspace::defaultWorkspace().openDatabase(run_.databasePath());
    };
    expectExit([&] { QTest::mouseClick(main().imgexit, Qt::LeftButton); });
    expectExit([&] { main().mnuExit->trigger(); });
    expectExit([&] { main().close(); });
}

TEST_F(MainWindowTest, MenusCaptionsAndAccessKeys)
{
    EXPECT_EQ(main().mnuFile->title(), "&File");
    EXPECT_EQ(main().mnuDatabase->title(), "&Database");
    EXPECT_EQ(main().mnuHelp->title(), "&Help");
    EXPECT_EQ(main().mnuExit->text(), "E&xit");
    EXPECT_EQ(main().mnuRepair->text(), "&Repair Database");
    EXPECT_EQ(main().mnuCompact->text(), "&Compact Database");
    EXPECT_EQ(main().mnuOnline->text(), "Online Help");
    EXPECT_EQ(main().mnuHelponHelp->text(), "Help on Help");
    EXPECT_EQ(main().mnuLinks->title(), "&Internet Links");
    EXPECT_EQ(main().mnuHomePage->text(), "Orvane &Home Page");
    EXPECT_EQ(main().mnuTechSupp->text(), "&Technical Support Page");
    EXPECT_EQ(main().mnuAbout->text(), "&About");
    const QList<QAction*> helpItems = main().mnuHelp->actions();
    ASSERT_EQ(helpItems.size(), 5);
    EXPECT_TRUE(helpItems[3]->isSeparator());
    EXPECT_EQ(helpItems[3]->objectName(), "step2");
}

TEST_F(MainWindowTest, HelpLinksAndAboutCommands)
{
    main().mnuOnline->trigger();
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1004");
    main().mnuHelponHelp->trigger();
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "helponhelp");

    main().mnuHomePage->trigger();
    main().mnuTechSupp->trigger();
    ASSERT_EQ(run_.addresses.size(), 2);
    EXPECT_EQ(run_.addresses[0].path(), "/");
    EXPECT_EQ(run_.addresses[1].host(), run_.addresses[0].host());
    EXPECT_EQ(run_.addresses[1].path(), "/support.asp");

    QString version;
    run_.onModal = [&](QWidget* w) {
        version = static_cast<frmAbout*>(w)->Label5->text();
        static_cast<frmAbout*>(w)->Command1->click();
    };
    main().mnuAbout->trigger();
    EXPECT_EQ(run_.modals, QStringList({"frmAbout"}));
    EXPECT_EQ(version, "v. 1.00");
}

}  // namespace
