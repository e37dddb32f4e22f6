// The budget window: the categories with their figures, the items of the selected category
// with their category, vendor and estimate, the payments of the selected item, and what falls
// due in the next 30 days or is overdue. Every change is stored at once and the figures are
// read again from the file, so they always agree with the expense table.
//
// The expense tracker and the main window open it with:
//
//     showBudgetWindow(this);
#pragma once

#include "budget/BudgetRules.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Creates the budget window over parent (null: the active window) and shows it modally. A
// file that cannot be read is said in the common error message and the window does not open.
void showBudgetWindow(QWidget* parent = nullptr);

class frmBudget : public QDialog {
    Q_OBJECT
public:
    explicit frmBudget(QWidget* parent = nullptr);

    bool isLoaded() const { return loaded_; }
    // The day the due and overdue lists are counted from (today unless set).
    void setToday(QDate today);

    // Reads the plan again and shows it, keeping the selected category, item and payment.
    void Refresh_All();

    void grdCategories_Click();
    void grdItems_Click();
    void grdPayments_Click();
    void txtTotalBudget_LostFocus();
    void txtPlanned_LostFocus();
    void cboItemCategory_Click();
    void cboVendor_Click();
    void txtEstimate_LostFocus();
    void cmdNewCategory_Click();
    void cmdNewItem_Click();
    void cmdAddPayment_Click();
    void cmdPaid_Click();
    void cmdRemovePayment_Click();
    void cmdChart_Click();
    void SSCommand1_Click();
    void cmdClose_Click();

    QLineEdit* txtTotalBudget;
    QLabel* lblSummary;
    QTableWidget* grdCategories;
    QLineEdit* txtPlanned;
    QPushButton* cmdNewCategory;
    QTableWidget* grdItems;
    QComboBox* cboItemCategory;
    QComboBox* cboVendor;
    QLineEdit* txtEstimate;
    QPushButton* cmdNewItem;
    QTableWidget* grdPayments;
    QComboBox* cboKind;
    QLineEdit* txtDue;
    QLineEdit* txtAmount;
    QPushButton* cmdAddPayment;
    QPushButton* cmdPaid;
    QPushButton* cmdRemovePayment;
    QLabel* lblDue;
    QTableWidget* grdDue;
    QPushButton* cmdChart;
    QPushButton* SSCommand1;
    QPushButton* cmdClose;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    QLayout* createCategoryPanel();
    QLayout* createItemPanel();
    QLayout* createPaymentPanel();
    void connectControls();
    void fillSummary();
    void fillCategories();
    void fillItems();
    void fillItemFields();
    void fillPayments();
    void fillDue();
    const budget::CategoryFigures* selectedCategory() const;
    const budget::Item* selectedItem() const;
    const budget::Payment* selectedPayment() const;
    // A typed amount, or nullopt after saying why it cannot be used; empty text is allowed
    // only where emptyAllowed (then *isEmpty is set).
    std::optional<store::Currency> typedAmount(QLineEdit* box, const QString& what, bool emptyAllowed,
                                               bool* isEmpty = nullptr);
    // Runs a change of the plan, shows a failure in the common error message, then reads the
    // plan again. Returns whether the change was made.
    template <typename Change>
    bool change(Change&& change);
    // Stores the selected item's category, estimate and vendor after edit has changed them.
    void changeItem(const std::function<void(budget::Item&)>& edit);

    budget::BudgetPlan plan_;
    std::vector<budget::CategoryFigures> figures_;
    QDate today_;
    qint64 itemKey_ = 0;  // the selected item's key, kept across reloads
    bool loaded_ = false;
    bool filling_ = false;
};
