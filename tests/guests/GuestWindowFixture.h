// The guest window over a fresh copy of the delivered database, shown offscreen, with
// the program-wide values the main window would have set, scripted message boxes and
// modal windows answered by a hook (tips are recorded, the new guest dialog is driven
// by newGuestDialog when a test sets it).
#pragma once

#include "controls/Dialogs.h"
#include "controls/MaskedEdit.h"
#include "guests/frmGuests.h"
#include "store/Store.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

class frmNewGuest;

// Types text into a widget key by key, also characters beyond ASCII (which QTest's
// keyClicks cannot type).
void typeKeys(QWidget* widget, const QString& text);

class GuestWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and loads the window, then shows it active.
    void openWindow();
    frmGuests& w() { return *window_; }

    // Inserts a party (field name -> value; amounts as store::Currency); returns its bookmark.
    store::Bookmark insertGuest(const QVariantMap& fields);
    // A party with title, first and last name and optional further fields.
    store::Bookmark insertGuest(const QString& prefix, const QString& first, const QString& last,
                                QVariantMap more = {});
    // A stored value of the party with that bookmark, read afresh from the file.
    QVariant stored(store::Bookmark mark, const QString& field);
    int guestCount();
    // Runs raw SQL on the open database (fixtures that the dialect has no words for).
    void rawSql(const QString& sql);

    // Moves the window to a party as the quick-search list does.
    void pickGuest(store::Bookmark mark);
    void chooseTab(int tab);
    // Focus moves into a control, or out of the one that has it into another.
    void focus(QWidget* widget);
    void typeInto(QWidget* widget, const QString& text);
    void key(QWidget* widget, Qt::Key key);
    // Clicks a check box or option button on its box (a click in the middle of a wide
    // button misses the part that takes clicks).
    void clickBox(QAbstractButton* button);

    std::vector<controls::DialogCall> messages() { return dialogs_->messages(); }
    controls::FakeDialogs& dialogs() { return *dialogs_; }

    testsupport::ProgramDir dir_{true};
    controls::ScopedFakeDialogs dialogs_;
    std::vector<int> tipsShown_;                       // tip numbers, in order
    std::function<int(frmNewGuest&)> newGuestDialog_;  // drives the dialog when set
    std::unique_ptr<store::Recordset> invited_;
    std::unique_ptr<frmGuests> window_;
};
