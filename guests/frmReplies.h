// The replies window, for the weeks when reply cards come back: type part of a name, see each
// matching member with their party, and in the list press A (attending) or D (declined) for the
// event chosen above it, or a digit for the meal (1 the menu's first meal, 0 none). Each change
// is stored at once with the party's counts (guests/MemberStore.h).
//
//     showRepliesWindow(this);   // File > Replies...
#pragma once

#include "guests/MemberStore.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

void showRepliesWindow(QWidget* parent = nullptr);

class frmReplies : public QDialog {
    Q_OBJECT
public:
    explicit frmReplies(QWidget* parent = nullptr);

    // Reads everyone afresh. Throws store::StoreError.
    void Form_Load();

    // ---- event handlers ----------------------------------------------------------------
    void txtFind_Change();
    void txtFind_KeyDown(int& keyCode, int shift);
    void grdPeople_KeyDown(int& keyCode, int shift);

    // The members listed, by index into people().members, in the list's order.
    const std::vector<size_t>& shown() const { return shown_; }
    const guests::WeddingPeople& people() const { return people_; }

    QLineEdit* txtFind;
    QComboBox* cboEvent;
    QTableWidget* grdPeople;
    QLabel* lblStatus;
    QPushButton* cmdClose;

private:
    guests::Event chosenEvent() const;
    void fillList();
    void showRow(int row);
    // Stores a change of the member on the current row; false (with a beep and a word) when
    // it cannot be made.
    bool changeCurrent(const guests::MemberChange& change);

    guests::WeddingPeople people_;
    std::vector<QString> keys_;  // the search key of each member with its party
    std::vector<size_t> shown_;
};
