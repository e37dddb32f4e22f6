// The checklist window: the wedding's tasks in an editable grid (done, task, due date,
// date done), the wedding date and the days left until it.
//
// The main window opens it with a fresh record set over table Checklist:
//
//     showChecklistWindow(shell::database().openRecordset("Checklist", store::RecordsetType::Dynaset), this);
#pragma once

#include "store/Store.h"

#include <QDialog>

#include <memory>

class QLabel;
class QMenu;
class QAction;
class QPushButton;

namespace controls {
class DataGrid;
class DataSource;
}  // namespace controls
namespace grids {
class GridCommands;
}

// Creates the checklist window over parent (null: the active window), hands it the record
// set, sets its caption "Check List" and shows it modally. Failures on the way end the
// command without a message of its own.
void showChecklistWindow(std::unique_ptr<store::Recordset> checklist, QWidget* parent = nullptr);

class frmCheck : public QDialog {
    Q_OBJECT
public:
    // Creation runs Get_Totals (and the tip when there is no wedding date), then loads
    // the tasks. When loading fails the window has shown why and is not loaded.
    explicit frmCheck(QWidget* parent = nullptr);

    bool isLoaded() const { return loaded_; }

    // Fills the wedding date and the days before it from table General.
    void Get_Totals();

    void grddataGrid_ButtonClick(int column);
    void grddataGrid_BeforeColEdit(int column, int& keyAscii, bool& cancel);
    void grddataGrid_AfterColEdit(int column);
    void grddataGrid_DblClick();
    void grddataGrid_HeadClick(int column);
    void Command1_Click();
    void mnuDelete_Click();
    void SSCommand1_Click();
    void SSCommand4_Click();

    controls::DataSource* Data1;
    controls::DataGrid* grddataGrid;
    QLabel* Label1;
    QLabel* lblweddate;
    QLabel* Label2;
    QLabel* lbldaysbefore;
    QPushButton* Command1;
    QPushButton* SSCommand1;
    QPushButton* SSCommand4;
    QMenu* mnuGridEdit;
    QAction* mnuDelete;

private:
    void createControls();
    void Form_Initialize();
    void Form_Load();
    // Asks the date picker for the current row's date in column (typed: what the user
    // typed to open it); the answer replaces the cell's text unless it is empty or unchanged.
    void pickDateFor(int column, const QString& typed = QString());
    // Done := done, leaving the cell alone when it already says so.
    void setDone(bool done);

    grids::GridCommands* commands_ = nullptr;
    bool loaded_ = false;
};
