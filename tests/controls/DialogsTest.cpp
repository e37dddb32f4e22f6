#include "controls/Dialogs.h"
#include "controls/WaitCursor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QTimer>

using namespace controls;

TEST(FakeDialogs, RecordsMessageBoxesAndAnswersFromTheQueue)
{
    ScopedFakeDialogs fake;
    fake->messageAnswers = {mb::Yes};
    EXPECT_EQ(
        MsgBox("Do you want to delete  Ann", mb::YesNo | mb::Question | mb::DefaultButton2, "Confirm Delete"),
        mb::Yes);
    // Queue empty: the default button answers (No here, OK for an OK box).
    EXPECT_EQ(MsgBox("again?", mb::YesNo | mb::Question | mb::DefaultButton2, "Confirm Delete"), mb::No);
    EXPECT_EQ(MsgBox("Sort Error\nboom"), mb::OK);

    const auto messages = fake->messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, "Do you want to delete  Ann");
    EXPECT_EQ(messages[0].title, "Confirm Delete");
    EXPECT_EQ(mb::buttonsOf(messages[0].style), mb::YesNo);
    EXPECT_EQ(mb::iconOf(messages[0].style), mb::Question);
    EXPECT_EQ(mb::defaultOf(messages[0].style), mb::DefaultButton2);
    EXPECT_EQ(messages[2].title, "Orvane");  // an empty title is the product name
}

TEST(FakeDialogs, InputBoxesBeepsAndEndProgram)
{
    ScopedFakeDialogs fake;
    fake->inputAnswers = {{true, "Acme Flowers"}};
    bool cancelled = true;
    EXPECT_EQ(InputBox("Enter Vendor name:", "Add New Vendor", "", &cancelled), "Acme Flowers");
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(InputBox("Enter Vendor name:", "Add New Vendor", "", &cancelled), "");
    EXPECT_TRUE(cancelled);
    Beep();
    EndProgram();
    EXPECT_EQ(fake->beepCount(), 1);
    EXPECT_EQ(fake->endProgramCount, 1);
    ASSERT_EQ(fake->calls.size(), 4u);
    EXPECT_EQ(fake->calls[0].kind, DialogCall::Kind::InputBox);
    EXPECT_EQ(fake->calls[0].title, "Add New Vendor");
}

TEST(FakeDialogs, ScopeRestoresThePreviousProvider)
{
    ScopedFakeDialogs outer;
    {
        ScopedFakeDialogs inner;
        MsgBox("inner");
        EXPECT_EQ(inner->messages().size(), 1u);
    }
    MsgBox("outer");
    ASSERT_EQ(outer->messages().size(), 1u);
    EXPECT_EQ(outer->messages()[0].text, "outer");
}

TEST(ShowModal, HookSeesTheWindowAndGivesTheResult)
{
    QDialog dialog;
    QWidget* seen = nullptr;
    auto previous = setModalHook([&](QWidget* w) {
        seen = w;
        return 42;
    });
    EXPECT_EQ(ShowModal(&dialog), 42);
    EXPECT_EQ(seen, &dialog);
    setModalHook(previous);
}

TEST(ShowModal, PlainWidgetRunsUntilItHides)
{
    QWidget window;
    QTimer::singleShot(0, &window, [&] {
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.isModal());
        window.hide();
    });
    ShowModal(&window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isModal());
}

TEST(ShowModal, DialogReturnsItsResult)
{
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.done(7); });
    EXPECT_EQ(ShowModal(&dialog), 7);
}

namespace {

Qt::CursorShape pointerShape()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

}  // namespace

TEST(WaitPointer, EveryBoxAndModalWindowShowsTheNormalPointerAndTheHourglassComesBack)
{
    ScopedFakeDialogs fake;
    std::vector<Qt::CursorShape> whileAsking;
    fake->onShow = [&](const DialogCall&) { whileAsking.push_back(pointerShape()); };
    {
        WaitCursor wait;
        MsgBox("Sort Error\nboom");
        InputBox("Enter Vendor name:");
        EXPECT_EQ(pointerShape(), Qt::WaitCursor);  // the work goes on after the answer
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(whileAsking, (std::vector<Qt::CursorShape>{Qt::ArrowCursor, Qt::ArrowCursor}));

    Qt::CursorShape inModal = Qt::WaitCursor;
    setModalHook([&](QWidget*) {
        inModal = pointerShape();
        return 0;
    });
    QWidget window;
    {
        WaitCursor wait;
        ShowModal(&window);
    }
    setModalHook({});
    EXPECT_EQ(inModal, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(WaitPointer, AnHourglassForWorkOthersFinishGoesWhenTheProgramWaitsAgain)
{
    ScopedFakeDialogs fake;
    showBusyUntilIdle();
    showBusyUntilIdle();  // once is enough
    EXPECT_EQ(pointerShape(), Qt::WaitCursor);
    QCoreApplication::processEvents();  // back in the event loop: waiting for the user
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A message box ends it at once, and nothing is left behind after the box.
    showBusyUntilIdle();
    Qt::CursorShape whileAsking = Qt::WaitCursor;
    fake->onShow = [&](const DialogCall&) { whileAsking = pointerShape(); };
    MsgBox("Data error event hit err:boom");
    EXPECT_EQ(whileAsking, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
