// "Find Guests": every party in one list, narrowed as the user types (any part of any name,
// envelope line, address, city or phone) and by the lists that need attention (no reply yet,
// attending, declined, not seated, no address, thank-you cards to send, a side, an event),
// all of them combined. Columns sort by a click on their header; several rows can be selected
// with the mouse and the keyboard; Enter or a double click opens the party in the guest window.
//
//     showFindGuests(parent);   // File > Find Guests... (Ctrl+F)
#pragma once

#include "guests/BulkChange.h"
#include "guests/PartyFinder.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QActionGroup;
class QLineEdit;
class QMenu;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace guests {

class FoundPartiesModel;

class frmFindGuests : public QDialog {
    Q_OBJECT
public:
    explicit frmFindGuests(QWidget* parent = nullptr);
    ~frmFindGuests() override;

    // Reads the parties (again, after a change elsewhere) and shows those the search finds.
    // Throws store::StoreError when they cannot be read.
    void Form_Load();

    // The parties shown, in the order shown, and those selected (their bookmarks).
    std::vector<qint64> shownParties() const;
    std::vector<qint64> selectedParties() const;

    QLineEdit* txtSearch;
    QCheckBox *chkNoReply, *chkAttending, *chkDeclined, *chkNotSeated, *chkNoAddress, *chkNoThankYou;
    QComboBox* cboSide;   // All sides, Bride, Groom, Both
    QComboBox* cboEvent;  // Any event, Ceremony, Reception, Shower, Rehearsal
    QComboBox* cboMeal;   // Any meal, then the couple's menu
    QComboBox* cboNeed;   // Any need, then the common dietary needs
    QTableView* grdFound;
    QLabel* lblCounts;
    QLabel* lblDone;         // what the last change or undo did
    QPushButton* cmdChange;  // its menu: the changes of many parties
    QMenu* mnuChange;
    QAction* mnuChangeSelected;  // the change is made to the parties selected ...
    QAction* mnuChangeShown;     // ... or to every party shown
    QPushButton* cmdUndo;
    QPushButton* cmdOpen;
    QPushButton* cmdClose;

    // Opens the guest window at the current party; the list is read again afterwards.
    void cmdOpen_Click();
    // Makes the change to the parties chosen in the Change menu (a deletion asks first), shows
    // what it did and reads the list again.
    void changeParties(const BulkChange& change);
    // Undoes the last large change (asking first) and reads the list again.
    void cmdUndo_Click();
    // The parties a change is made to: those selected, or every party shown.
    std::vector<qint64> chosenParties() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildChangeMenu();
    void reload();
    void showMenu();
    void showUndoState();
    std::vector<Filter> chosenFilters() const;
    void refind();
    void showCounts();

    PartyList list_;
    FoundPartiesModel* model_;
    QSortFilterProxyModel* sorted_;
};

// Opens the window modally; a failure to read the guest list is shown and it does not open.
void showFindGuests(QWidget* parent = nullptr);

// What prints address labels for parties (the reports' label window, installed by the main
// window): the Change menu's "Print Labels..." hands it the parties chosen. Without one the
// entry is not offered.
using LabelPrinter = std::function<void(QWidget* parent, const std::vector<qint64>& parties)>;
void setLabelPrinter(LabelPrinter printer);

}  // namespace guests
