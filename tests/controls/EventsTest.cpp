#include "controls/Events.h"
#include "controls/MaskedEdit.h"
#include "tests/support/WidgetTestUtils.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace controls;

namespace {

struct Window {
    QWidget window;
    QLineEdit* first = new QLineEdit(&window);
    QLineEdit* second = new QLineEdit(&window);
    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        testsupport::showActive(&window);
        testsupport::focus(first);
    }
};

}  // namespace

TEST(EventRouting, KeyPressCanChangeOrDiscardTheCharacter)
{
    Window w;
    on(w.first).keyPress([](int& keyAscii) {
        if (keyAscii >= 'a' && keyAscii <= 'z')
            keyAscii -= 32;  // upper-case letters
        else if (keyAscii < '0' || keyAscii > '9')
            if (keyAscii != key::Back)
                keyAscii = 0;  // only digits and letters
    });
    QTest::keyClicks(w.first, "ab-1.c");
    EXPECT_EQ(w.first->text(), "AB1C");
    QTest::keyClick(w.first, Qt::Key_Backspace);
    EXPECT_EQ(w.first->text(), "AB1");
}

TEST(EventRouting, KeyDownGivesCodesAndShiftStateAndCanConsume)
{
    Window w;
    std::vector<std::pair<int, int>> seen;
    std::vector<int> typed;
    on(w.first)
        .keyDown([&](int& keyCode, int shift) {
            seen.push_back({keyCode, shift});
            if (keyCode == key::F1)
                keyCode = 0;
        })
        .keyPress([&](int& keyAscii) { typed.push_back(keyAscii); });
    QTest::keyClick(w.first, Qt::Key_Return);
    QTest::keyClick(w.first, Qt::Key_Escape);
    QTest::keyClick(w.first, Qt::Key_Delete);
    QTest::keyClick(w.first, Qt::Key_F1);
    QTest::keyClick(w.first, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::keyClick(w.first, Qt::Key_Backspace);
    // The modifier keys go down first, as keys of their own (Shift 16, Ctrl 17).
    const std::vector<std::pair<int, int>> expected = {{13, 0}, {27, 0}, {46, 0}, {112, 0},
                                                       {16, 1}, {17, 3}, {65, 3}, {8, 0}};
    EXPECT_EQ(seen, expected);
    // Enter, Esc and Backspace type characters; Delete, F1 and Ctrl+A do not.
    EXPECT_EQ(typed, (std::vector<int>{13, 27, 8}));
}

TEST(EventRouting, FocusEventsAndSelectAllOnFocus)
{
    Window w;
    std::vector<QString> events;
    on(w.second).gotFocus([&] { events.push_back("got"); }).lostFocus([&] { events.push_back("lost"); });
    w.second->setText("Rose Hall");
    selectAllOnFocus(w.second);
    QTest::keyClick(w.first, Qt::Key_Tab);
    EXPECT_TRUE(w.second->hasFocus());
    EXPECT_EQ(w.second->selectedText(), "Rose Hall");
    QTest::keyClick(w.second, Qt::Key_Tab);
    EXPECT_EQ(events, (std::vector<QString>{"got", "lost"}));
}

TEST(EventRouting, FocusMovingToAnotherWindowIsNotLostFocus)
{
    Window w;
    int lost = 0;
    on(w.first).lostFocus([&] { ++lost; });
    QWidget other;
    testsupport::showActive(&other);
    testsupport::showActive(&w.window);
    EXPECT_EQ(lost, 0);
}

TEST(EventRouting, ClicksDoubleClicksAndChanges)
{
    QWidget window;
    auto* label = new QLabel("Guests", &window);
    label->setGeometry(0, 0, 80, 20);
    auto* check = new QCheckBox("Shower", &window);
    check->setGeometry(0, 30, 80, 20);
    auto* radio = new QRadioButton(&window);
    radio->setGeometry(0, 60, 80, 20);
    auto* edit = new QLineEdit(&window);
    edit->setGeometry(0, 90, 80, 20);
    testsupport::showActive(&window);

    int labelClicks = 0, labelDouble = 0, checkClicks = 0, radioClicks = 0, changes = 0;
    on(label).click([&] { ++labelClicks; }).dblClick([&] { ++labelDouble; });
    on(check).click([&] { ++checkClicks; });
    on(radio).click([&] { ++radioClicks; });
    on(edit).change([&] { ++changes; });

    QTest::mouseClick(label, Qt::LeftButton);
    QTest::mouseDClick(label, Qt::LeftButton);
    EXPECT_GE(labelClicks, 1);
    EXPECT_EQ(labelDouble, 1);

    QTest::mouseClick(check, Qt::LeftButton);
    check->setChecked(false);  // a change by code (a record change) is a Click too
    EXPECT_EQ(checkClicks, 2);

    radio->setChecked(true);
    radio->setChecked(false);  // becoming unchecked is not a Click
    EXPECT_EQ(radioClicks, 1);

    edit->setText("a");
    QTest::keyClicks(edit, "bc");
    EXPECT_EQ(changes, 3);
}

TEST(EventRouting, MouseDownAndUpCarryButtonAndShift)
{
    QWidget window;
    auto* label = new QLabel("x", &window);
    label->setGeometry(0, 0, 80, 20);
    testsupport::showActive(&window);
    std::vector<std::pair<int, int>> downs, ups;
    on(label)
        .mouseDown([&](int b, int s, QPoint) {
            downs.push_back({b, s});
        })
        .mouseUp([&](int b, int s, QPoint) {
            ups.push_back({b, s});
        });
    QTest::mouseClick(label, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{button::Right, shift::Shift}}));
    EXPECT_EQ(ups, (std::vector<std::pair<int, int>>{{button::Right, shift::Shift}}));
}

TEST(MaskedEdit, PhoneRoundTrip)
{
    QWidget window;
    auto* phone = new MaskedEdit(&window);
    phone->setMask(PhoneMask);
    testsupport::showActive(&window);

    EXPECT_EQ(phone->text(), "");  // untouched: nothing to store, not "() -"
    phone->setText("(555) 123-4567");
    EXPECT_EQ(phone->text(), "(555) 123-4567");
    EXPECT_EQ(phone->clipText(), "5551234567");

    phone->setText("");
    testsupport::focus(phone);
    phone->home(false);
    QTest::keyClicks(phone, "5559876543");
    EXPECT_EQ(phone->text(), "(555) 987-6543");

    // A stored number of another form is kept exactly.
    phone->setText("+44 20 7946 0018");
    EXPECT_EQ(phone->text(), "+44 20 7946 0018");
    // and the mask returns for a number that fits.
    phone->setText("(555) 000-1111");
    EXPECT_EQ(phone->inputMask(), QString(PhoneMask));
}

TEST(EventRouting, LeavingAComboWithAListedTextIsNoClick)
{
    Window w;
    auto* combo = new QComboBox(&w.window);
    combo->setEditable(true);
    combo->addItems({"Austin", "Boston"});
    w.window.layout()->addWidget(combo);
    int clicks = 0;
    on(combo).click([&] { ++clicks; });

    testsupport::focus(combo);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "Boston");
    testsupport::focus(w.first);
    EXPECT_EQ(clicks, 0);

    testsupport::focus(combo);
    QTest::keyClick(combo, Qt::Key_Up);  // a pick by keyboard
    EXPECT_EQ(combo->currentText(), "Austin");
    EXPECT_EQ(clicks, 1);
}
