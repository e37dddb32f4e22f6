#include "controls/Dialogs.h"

#include <gtest/gtest.h>

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
