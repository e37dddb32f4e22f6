// The seating manager: the reception tables with their seats, people and groups, the
// parties not yet seated, the seated ones, and the occupants of the current table.
// Tables are added and changed through the table editor (frmTables); a party is seated
// at the current table for some of its people and removed again.
//
//   showSeatingManager();   // the main window's seating label: load and show it modally
//
// Every list entry of a party carries the party's key, so two parties listed under the
// same text are never confused.
#pragma once

#include <QDialog>

#include <memory>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace store {
class Recordset;
class StoreError;
}  // namespace store
namespace controls {
class DataList;
class DataSource;
}  // namespace controls

// Loads the seating manager and shows it modally; returns when it is closed. Throws
// store::StoreError when the window cannot be loaded (the caller ignores it).
void showSeatingManager();

class frmSeater : public QDialog {
    Q_OBJECT
public:
    explicit frmSeater(QWidget* parent = nullptr);
    ~frmSeater() override;

    // The program-wide instance (created on first use).
    static frmSeater* instance();

    // Opens the party sets and the table source, selects the first table and fills the
    // party lists; the rest (the table's panel, or the "No Tables" message) follows when
    // the window is shown. Throws store::StoreError.
    void Form_Load();
    void Refresh_All();
    void Refresh_Tables();

    void DBList1_Click();
    void Data1_Reposition();
    void List1_Click();
    void List2_Click();
    void Command1_Click();      // Add Table
    void Command2_Click();      // Clear Table
    void Command3_Click();      // Delete Table
    void Command4_Click();      // Edit Table
    void Command5_Click();      // Add Guest
    void Command6_Click();      // Remove Guest
    void SSCommand1_Click();    // Help
    void cmdFloorPlan_Click();  // the floor plan, over this window; both show the same seating
    void SSCommand4_Click();    // Close

    // Controls; objectName = member name.
    controls::DataSource* Data1 = nullptr;
    controls::DataList* DBList1 = nullptr;
    QLabel* Label8 = nullptr;      // "Tables  (n)"
    QListWidget* List1 = nullptr;  // unassigned parties
    QLabel* Label2 = nullptr;
    QListWidget* List2 = nullptr;  // seated parties
    QLabel* Label3 = nullptr;
    QListWidget* List3 = nullptr;  // occupants of the current table
    QLabel* Label7 = nullptr;
    QFrame* Picture2 = nullptr;  // "Table Properties"
    QLabel* Label9 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblseats = nullptr;
    QLabel* lblpeople = nullptr;
    QLabel* lblgroups = nullptr;
    QFrame* Picture1 = nullptr;  // "Guest Party"
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;  // size of the picked party
    QLabel* Label4 = nullptr;  // "Person" / "People"
    QPushButton* Command1 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* SSCommand4 = nullptr;
    QPushButton* SSCommand1 = nullptr;
    QPushButton* cmdFloorPlan = nullptr;

    // The window's record sets (null while it is not loaded, or before a table was
    // selected for TableOccupants).
    store::Recordset* unassignedParties() const { return UnassignedParties.get(); }
    store::Recordset* assignedParties() const { return AssignedParties.get(); }
    store::Recordset* tableOccupants() const { return TableOccupants.get(); }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildControls();
    void Form_Shown();
    void Form_Unload();
    bool followTableSelection();
    void selectTable(const QVariant& tableId);
    void clearOccupants();
    void writeAssigned(int assigned);  // of the current table
    void showTableAgain();
    void fillPartyLists();
    void listParties(store::Recordset& parties, QListWidget* list);
    void fillPartyList(store::Recordset& parties, QListWidget* list, QLabel* caption, const QString& title);
    // The error's description under the title "Error #" and its number.
    void showError(const store::StoreError& error);

    std::unique_ptr<store::Recordset> UnassignedParties;
    std::unique_ptr<store::Recordset> AssignedParties;
    std::unique_ptr<store::Recordset> TableOccupants;
    bool loaded_ = false;
    bool shownSinceLoad_ = false;
};
