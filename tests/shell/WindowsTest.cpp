// The shared small windows (tip, date picker), the help viewer and the sounds.
#include "controls/Dialogs.h"
#include "shell/DatePicker.h"
#include "shell/Help.h"
#include "shell/HelpViewer.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "shell/Sound.h"
#include "shell/Tips.h"
#include "shell/WaveFile.h"
#include "shell/Windows.h"
#include "shell/frmCalander.h"
#include "shell/frmTip.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDialog>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

namespace {

// Shows modal windows without blocking: the action drives the window, then the hook
// returns its result.
class ModalScript {
public:
    explicit ModalScript(std::function<void(QWidget*)> action)
    {
        previous_ = controls::setModalHook([action](QWidget* w) {
            w->show();
            action(w);
            auto* dialog = qobject_cast<QDialog*>(w);
            return dialog ? dialog->result() : 0;
        });
    }
    ~ModalScript() { controls::setModalHook(previous_); }

private:
    controls::ModalHook previous_;
};

class DatePickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::setOldDateText(QString());
        shell::setNewDateText(QString());
    }
    void TearDown() override { frmCalander::unload(); }

    static QString pick(const QDate& start, const QString& old, std::function<void(frmCalander*)> action)
    {
        ModalScript script([action](QWidget* w) { action(static_cast<frmCalander*>(w)); });
        return shell::pickDate(QStringLiteral("Enter Reception Date"), start, old, old);
    }
    static QWidget* grid(frmCalander* f) { return f->Calendar1->findChild<QTableView*>(); }
};

TEST_F(DatePickerTest, OkAndEnterAnswerTheDateShown)
{
    const QDate start(2026, 6, 20);
    EXPECT_EQ(pick(start, "old", [](frmCalander* f) { f->cmdOK->click(); }), shell::dateText(start));
    EXPECT_EQ(pick(start, "old", [](frmCalander* f) { QTest::keyClick(grid(f), Qt::Key_Return); }),
              shell::dateText(start));
    EXPECT_FALSE(frmCalander::isLoaded());  // OK unloads the picker
}

TEST_F(DatePickerTest, CancelAndEscGiveBackTheOldTextWhateverItIs)
{
    const QDate start(2026, 6, 20);
    for (const QString& old : {QString(), QStringLiteral("not a date"), QStringLiteral("6/1/26")}) {
        EXPECT_EQ(pick(start, old, [](frmCalander* f) { QTest::keyClick(grid(f), Qt::Key_Escape); }), old);
        EXPECT_EQ(pick(start, old,
                       [](frmCalander* f) {
                           f->Calendar1->setSelectedDate(QDate(2026, 7, 4));  // days clicked...
                           f->Calendar1->setSelectedDate(QDate(2026, 7, 5));
                           f->cmdCancel->click();  // ...then Cancel
                       }),
                  old);
    }
}

TEST_F(DatePickerTest, TheAnswerFollowsTheSelectionAndTheCloseBoxKeepsIt)
{
    EXPECT_EQ(pick(QDate(2026, 6, 20), "seed",
                   [](frmCalander* f) {
                       f->Calendar1->setSelectedDate(QDate(2026, 7, 4));
                       EXPECT_EQ(shell::newDateText(), shell::dateText(QDate(2026, 7, 4)));
                       f->close();
                   }),
              shell::dateText(QDate(2026, 7, 4)));
    // Nothing clicked: the close box leaves the caller's seed.
    EXPECT_EQ(pick(QDate(2026, 6, 20), "seed", [](frmCalander* f) { f->close(); }), "seed");
}

TEST_F(DatePickerTest, DoubleClickAnswersAndOnlyHides)
{
    const QString answer = pick(QDate(2026, 6, 20), "old", [](frmCalander* f) {
        f->Calendar1->setSelectedDate(QDate(2026, 6, 21));
        f->Calendar1_DblClick();
        EXPECT_FALSE(f->isVisible());
    });
    EXPECT_EQ(answer, shell::dateText(QDate(2026, 6, 21)));
    ASSERT_TRUE(frmCalander::isLoaded());
    const QPoint kept = frmCalander::instance()->pos();
    frmCalander::instance()->move(kept + QPoint(5, 5));
    pick(QDate(2026, 6, 20), "old", [&](frmCalander* f) {
        EXPECT_EQ(f->pos(), kept + QPoint(5, 5));  // shown again where it was
        f->cmdOK->click();
    });
}

TEST_F(DatePickerTest, StartsOnTheDateGivenOrToday)
{
    QDate shown;
    ModalScript script([&](QWidget* w) {
        shown = static_cast<frmCalander*>(w)->value();
        static_cast<frmCalander*>(w)->cmdOK->click();
    });
    shell::pickDate("Enter Shower Date", QDate(1999, 12, 31), "x");
    EXPECT_EQ(shown, QDate(1999, 12, 31));
    EXPECT_EQ(frmCalander::isLoaded(), false);
    shell::pickDate("Enter Shower Date", QDate(), "x");
    EXPECT_EQ(shown, QDate::currentDate());
}

TEST_F(DatePickerTest, CaptionAndRegisteredExchangeFields)
{
    QLineEdit oldField, newField;
    shell::registerDateExchange(&oldField, &newField);
    QString caption;
    ModalScript script([&](QWidget* w) {
        caption = w->windowTitle();
        EXPECT_EQ(oldField.text(), "1/2/03");
        static_cast<frmCalander*>(w)->cmdCancel->click();
    });
    EXPECT_EQ(shell::pickDate("Enter Due Date", QDate(2003, 1, 2), "1/2/03", QString("1/2/03")), "1/2/03");
    EXPECT_EQ(caption, "Enter Due Date");
    EXPECT_EQ(newField.text(), "1/2/03");
    shell::registerDateExchange(nullptr, nullptr);
}

TEST(DateTexts, ShortDatesReadBack)
{
    const QDate d(2026, 8, 31);
    EXPECT_EQ(shell::parseDateText(shell::dateText(d)), d);
    EXPECT_EQ(shell::parseDateText("8/31/1998"), QDate(1998, 8, 31));
    EXPECT_FALSE(shell::parseDateText("soon").isValid());
    EXPECT_FALSE(shell::parseDateText("").isValid());
}

TEST(SmallWindows, TipWindowShowsTheNumberedTip)
{
    shell::program().TipList = {"one", "two", "three", "four", "five"};
    QString shown, caption;
    ModalScript script([&](QWidget* w) {
        auto* tip = static_cast<frmTip*>(w);
        shown = tip->lblTipText->text();
        caption = tip->windowTitle();
        tip->cmdOK->click();
    });
    shell::showTip(5);
    EXPECT_EQ(shown, "five");
    EXPECT_EQ(caption, "Orvane Tip");
    EXPECT_EQ(shell::program().TipNumber, 5);
    shell::showTip(1);
    EXPECT_EQ(shown, "one");
    shell::showTip(9);  // past the end: nothing rather than a failure
    EXPECT_EQ(shown, "");
    shell::program().TipList.clear();
    shell::showTip(1);
    EXPECT_EQ(shown, "");
}

// Work that waits for a window's first paint: not before it, once after it however often the
// window paints, at once for a window that is not shown, and never for a window that is gone.
TEST(SmallWindows, WorkWaitsForTheFirstPaintAndRunsOnce)
{
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    };
    // Counts the paints a window has had, to tell when the work ran.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    int runs = 0, paintsBeforeWork = -1;
    QWidget shown;
    shown.resize(120, 80);
    shown.installEventFilter(&counter);
    shell::runWhenPainted(&shown, [&] {
        ++runs;
        paintsBeforeWork = counter.paints;
    });
    shown.show();
    EXPECT_EQ(runs, 0) << "showing is not painting";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    settle();
    EXPECT_EQ(runs, 1);
    EXPECT_GE(paintsBeforeWork, 1) << "the work comes after the first paint";
    shown.repaint();
    shown.update();
    settle();
    EXPECT_EQ(runs, 1) << "later paints run nothing more";

    int hiddenRuns = 0;
    QWidget hidden;
    shell::runWhenPainted(&hidden, [&] { ++hiddenRuns; });
    EXPECT_EQ(hiddenRuns, 0) << "not before the event loop turns";
    settle();
    EXPECT_EQ(hiddenRuns, 1) << "a window that is not shown gets the work when the loop runs";

    int goneRuns = 0;
    auto* gone = new QWidget;
    gone->show();
    shell::runWhenPainted(gone, [&] { ++goneRuns; });
    delete gone;
    settle();
    EXPECT_EQ(goneRuns, 0);
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::setProgramDirectory(dir_.path());
        shell::program().HelpFilePath.clear();
        shell::setupHelp(nullptr);
    }
    void TearDown() override
    {
        shell::quitHelp();
        QCoreApplication::processEvents();
        shell::setProgramDirectory(QString());
    }
    testsupport::ProgramDir dir_{true};
};

TEST_F(HelpTest, EveryContextNumberHasItsTopic)
{
    const std::pair<int, const char*> topics[] = {{shell::HelpGeneral, "General Information"},
                                                  {shell::HelpGuests, "Guest List Manager"},
                                                  {shell::HelpChecklist, "To Do/Check List"},
                                                  {shell::HelpContents, "Orvane Help Contents"},
                                                  {shell::HelpExpenses, "Track Expenses"},
                                                  {shell::HelpReports, "Print Reports/Labels"},
                                                  {shell::HelpSeating, "Reception Seating Manager"},
                                                  {shell::HelpVendors, "Wedding Vendor List"},
                                                  {shell::HelpFloorPlan, "Floor Plan and Seat Everyone"},
                                                  {shell::HelpSeatingRules, "Seating Rules"},
                                                  {shell::HelpImport, "Import Guests"},
                                                  {shell::HelpExport, "Export and Calendar"},
                                                  {shell::HelpBudget, "Budget"},
                                                  {1012, "Backups and Repair"},
                                                  {shell::HelpFindGuests, "Find Guests"},
                                                  {shell::HelpMembers, "Members of a Party"},
                                                  {shell::HelpReplies, "Replies"},
                                                  {shell::HelpPlaceCards, "Place Cards and Escort Cards"}};
    for (const auto& [number, title] : topics) {
        shell::showHelp(nullptr, number);
        HelpViewer* viewer = shell::currentHelpViewer();
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->currentKey(), QString::number(number));
        EXPECT_TRUE(viewer->shownHtml().contains(title)) << number;
        EXPECT_EQ(viewer->lstTopics->currentItem()->text(), title);
    }
    EXPECT_EQ(shell::currentHelpViewer()->topicTitles().size(), 19);  // eighteen topics and help on help
}

TEST_F(HelpTest, HelpOnHelpUnknownTopicsAndQuitting)
{
    shell::showHelpOnHelp();
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), shell::HelpOnHelpKey);
    shell::showHelp(nullptr, 1003);
    EXPECT_TRUE(shell::currentHelpViewer()->txtTopic->toPlainText().contains("no topic for this window"));
    shell::currentHelpViewer()->lstTopics->setCurrentRow(0);  // picking from the list
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1004");
    shell::quitHelp();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell::currentHelpViewer(), nullptr);
}

TEST_F(HelpTest, AMissingHelpFileIsExplainedInTheViewer)
{
    QFile::remove(dir_.file("Orvane.HLP"));
    shell::showHelp(nullptr, shell::HelpGeneral);
    const QString text = shell::currentHelpViewer()->txtTopic->toPlainText();
    EXPECT_TRUE(text.contains("The help file could not be found.")) << text.toStdString();
    EXPECT_TRUE(text.contains(dir_.file("Orvane.HLP")));
}

TEST(Sounds, TypesMatchWithoutRegardToCaseAndFillTheBuffer)
{
    std::vector<QByteArray> played;
    const shell::SoundPlayer previous =
        shell::setSoundPlayer([&](const QByteArray& b) { played.push_back(b); });
    shell::PlayResourceSound("applause_SOUND", 4);
    shell::PlayResourceSound("CLICKED_sound", 3);
    shell::PlayResourceSound("clicked_SOUND", 4);  // no such sound: silent
    shell::setSoundPlayer(previous);

    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0], shell::soundResource("APPLAUSE_SOUND", 4));
    EXPECT_EQ(played[1], shell::soundResource("clicked_sound", 3));
    EXPECT_NE(played[0], played[1]);
    for (const QByteArray& sound : played) {
        const auto info = shell::readWaveInfo(sound);
        ASSERT_TRUE(info.has_value());
        EXPECT_GT(info->dataSize, 100);
    }
    EXPECT_TRUE(shell::program().SoundBuffer.isEmpty());  // the last call found nothing
}

TEST(Sounds, PlayingWithoutAnAudioDeviceIsHarmless)
{
    shell::playClick();
    shell::playApplause();
    EXPECT_EQ(shell::program().SoundBuffer, shell::soundResource("applause_sound", 4));
}

}  // namespace

namespace {

TEST(Sounds, TheAudioModulePlaysWithOrWithoutADevice)
{
    QLibrary module(testsupport::binDir() + "/orvane_audio");
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    auto play = reinterpret_cast<void (*)(const QByteArray*)>(module.resolve("orvanePlayWave"));
    auto stop = reinterpret_cast<void (*)()>(module.resolve("orvaneStopWave"));
    ASSERT_TRUE(play && stop);
    const QByteArray click = shell::soundResource("clicked_sound", 3);
    const QByteArray junk("RIFF....WAVEjunk");
    play(&click);
    play(&junk);  // not a wave file: silent
    play(&click);
    QTest::qWait(50);
    stop();
    stop();
}

}  // namespace

TEST_F(HelpTest, F1InASmallWindowOpensTheTopicOfTheWindowThatOpenedIt)
{
    QWidget checklist;
    shell::setHelpContext(&checklist, shell::HelpChecklist);
    QDialog calendar(&checklist);  // a small window over the checklist, as the date picker is
    shell::setHelpContext(&calendar, shell::HelpOfOwner);
    testsupport::showActive(&calendar);
    QTest::keyClick(&calendar, Qt::Key_F1);
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1002");
    // F1 in the help window itself explains the help window.
    testsupport::showActive(shell::currentHelpViewer());
    QTest::keyClick(shell::currentHelpViewer(), Qt::Key_F1);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), shell::HelpOnHelpKey);
    shell::currentHelpViewer()->close();
    calendar.close();

    frmTip tip;  // opened by nothing: the contents
    testsupport::showActive(&tip);
    QTest::keyClick(&tip, Qt::Key_F1);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1004");
}
