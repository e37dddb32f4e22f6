// The expense tracker: the wedding's expenses in an editable grid whose totals and amounts
// owing are computed, the sums of both, and a list of sample items to add from.
//
// The main window opens it with:
//
//     showExpenseWindow(this);
#pragma once

#include <QDialog>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;

namespace controls {
class DataGrid;
class DataList;
class DataSource;
}  // namespace controls
namespace grids {
class GridCommands;
}

// Creates the expense window over parent (null: the active window), hands it a fresh record
// set over table Expenses, sets its caption "Expense Table" and shows it modally. Failures
// on the way end the command without a message of its own.
void showExpenseWindow(QWidget* parent = nullptr);

class frmDataGrid : public QDialog {
    Q_OBJECT
public:
    // Creation loads the expenses and the sample items and computes the sums. When
    // loading fails the window has shown why and is not loaded.
    explicit frmDataGrid(QWidget* parent = nullptr);

    bool isLoaded() const { return loaded_; }

    // Sums the Total and Owing cells of every row into the two labels.
    void Get_Totals();

    void grddataGrid_BeforeColUpdate(int column, const QVariant& oldValue, bool& cancel);
    void grddataGrid_AfterColUpdate(int column);
    void grddataGrid_HeadClick(int column);
    void Check1_Click();
    void DBList1_Click();
    void Command1_Click();
    void cmdBudget_Click();
    void mnuDelete_Click();
    void SSCommand1_Click();
    void SSCommand4_Click();

    controls::DataSource* Data1;
    controls::DataSource* Data2;
    QWidget* Picture3;
    controls::DataGrid* grddataGrid;
    controls::DataList* DBList1;
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* cmdBudget;
    QLabel* Label1;
    QLabel* lbltotalamount;
    QLabel* Label2;
    QLabel* lbltotalowing;
    QPushButton* SSCommand1;
    QPushButton* SSCommand4;
    QMenu* mnuGridEdit;
    QAction* mnuDelete;

private:
    void createControls();
    void Form_Load();
    void Form_Initialize();
    void fillEmptyCells();
    QString refusalOf(int column) const;
    void addSampleItem(const QString& description);

    grids::GridCommands* commands_ = nullptr;
    bool loaded_ = false;
};
