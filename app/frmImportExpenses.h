// The budget spreadsheet import (File menu "Import Expenses..."): the file and how it is read,
// the field of each column, and the review. Every step can be cancelled with nothing changed;
// only the Import button of the review writes, in one transaction after a backup.
//
//   showImportExpenses(mainWindow);   // modal
#pragma once

#include "budget/ExpenseImport.h"

#include <QWizard>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// Shows the wizard modally; true when expenses were imported.
bool showImportExpenses(QWidget* parent);

class frmImportExpenses : public QWizard {
    Q_OBJECT
public:
    enum PageId { FilePage, ColumnsPage, ReviewPage, DonePage };
    explicit frmImportExpenses(QWidget* parent = nullptr);

    // What the steps share.
    budget::ExpenseTable table;
    budget::ExpenseColumns columns;
    bool decimalComma = false;
    budget::ExpenseReview review;
    budget::ExpenseImportResult result;
    bool imported = false;

    // Reads the file again with the page's settings (a null header: guessed).
    QString readFile(const QString& path, char separator, std::optional<bool> header);
};

// Step 1: the file, its separator, header row and decimal separator, and its rows as read.
class ExpenseFilePage : public QWizardPage {
    Q_OBJECT
public:
    explicit ExpenseFilePage(frmImportExpenses* wizard);
    bool isComplete() const override;
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QComboBox* cboSeparator;
    QComboBox* cboDecimal;
    QCheckBox* chkHeader;
    QTableWidget* grdPreview;
    QLabel* lblMessage;

private:
    void load(bool guess);
    frmImportExpenses* wizard_;
    bool loaded_ = false;
};

// Step 2: one row per column: its header, an example and the field it fills.
class ExpenseColumnsPage : public QWizardPage {
    Q_OBJECT
public:
    explicit ExpenseColumnsPage(frmImportExpenses* wizard);
    void initializePage() override;
    bool validatePage() override;
    QTableWidget* grdColumns;

private:
    frmImportExpenses* wizard_;
};

// Step 3: the expenses to import, the rows left out and why; Import writes them.
class ExpenseReviewPage : public QWizardPage {
    Q_OBJECT
public:
    explicit ExpenseReviewPage(frmImportExpenses* wizard);
    void initializePage() override;
    bool validatePage() override;
    QPlainTextEdit* txtReview;

private:
    frmImportExpenses* wizard_;
};

// The end: what was imported.
class ExpenseDonePage : public QWizardPage {
    Q_OBJECT
public:
    explicit ExpenseDonePage(frmImportExpenses* wizard);
    void initializePage() override;
    QLabel* lblSummary;

private:
    frmImportExpenses* wizard_;
};
