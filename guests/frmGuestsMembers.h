// The Members tab of the guest window: the people of the current party, one row each (name,
// age group, meal, needs, reception reply), and the chosen member's fields beneath.
//
// Keys in the list: Insert adds a member, Delete removes the chosen one (after a question),
// Alt+Up and Alt+Down move it. Every change is stored at once, together with the party's
// counts (guests/MemberStore.h); the Details tab then shows the new counts. When the counts
// typed on the Details tab disagree with the members, a line says both and offers to add
// unnamed places or to correct the count; nothing is changed without the user's word.
#pragma once

#include "guests/MemberRules.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QGroupBox;

namespace guests {

class MembersTab : public QWidget {
    Q_OBJECT
public:
    // beforeChange is run before every change (the window writes its own typed values
    // first); afterChange after it (the window shows the party's new counts).
    MembersTab(std::function<bool()> beforeChange, std::function<void()> afterChange,
               QWidget* parent = nullptr);

    // Shows the members of a party (none: an empty tab). partyName and lastName are the
    // party's as the window shows them.
    void showParty(std::optional<qint64> party, const QString& partyName, const QString& lastName);
    std::optional<qint64> party() const { return party_; }
    const std::vector<Member>& members() const { return members_; }
    // The chosen member, or null.
    const Member* current() const;

    // ---- event handlers ----------------------------------------------------------------
    void memAdd_Click();
    void memRemove_Click();
    void memMove_Click(int step);
    void memPlusOne_Click();
    void memMenu_Click();
    void memAddPlaces_Click();
    void memCorrect_Click();
    void memList_KeyDown(int& keyCode, int shift);

    // ---- controls ----------------------------------------------------------------------
    QTableWidget* memList;
    QPushButton* memAdd;
    QPushButton* memRemove;
    QPushButton* memUp;
    QPushButton* memDown;
    QPushButton* memMenu;
    QLabel* memCounts;
    QPushButton* memAddPlaces;
    QPushButton* memCorrect;
    QGroupBox* memFrame;
    QLineEdit* memFirst;
    QLineEdit* memLast;
    QComboBox* memAge;
    QCheckBox* memPlusOne;
    QLabel* memGuestOf;
    QComboBox* memMeal;
    std::array<QCheckBox*, 6> memNeed{};
    QLineEdit* memNeedsNote;
    QLineEdit* memEmail;
    QLineEdit* memMobile;
    QLineEdit* memNote;
    std::array<QComboBox*, 4> memReply{};  // by Event
    std::array<QLabel*, 4> memReplyLabel{};

private:
    QWidget* buildEditor();
    void connectEditor();
    void reload(std::optional<qint64> select);
    void fillList();
    void showCurrent();
    void showCountDifferences();
    // Stores the editor's values as the chosen member's.
    void saveCurrent();
    // Runs a change of the store: the window's own values first, the store's message on
    // failure, and the party shown again afterwards with the member to choose.
    void change(const std::function<std::optional<qint64>()>& step);

    std::function<bool()> beforeChange_;
    std::function<void()> afterChange_;
    std::optional<qint64> party_;
    QString partyName_;
    QString lastName_;
    std::vector<Member> members_;
    std::vector<Meal> meals_;
    Invitations invited_;
    bool loading_ = false;
};

}  // namespace guests
