// The guest import wizard (File menu "Import Guests..."): File, Columns, Review, and the
// summary of the import. Every step can be cancelled with nothing changed; only the
// Import button of the Review step writes, in one transaction after a backup.
//
//   showImportGuests(mainWindow);   // modal
#pragma once

#include "exchange/CsvFile.h"
#include "exchange/GuestImport.h"

#include <QWizard>

class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class QStackedWidget;

namespace exchange {

class frmImportGuests : public QWizard {
    Q_OBJECT
public:
    enum PageId { FilePage, ColumnsPage, InvitePage, ReviewPage, DonePage };
    // people: the members' side, which a list of people grouped into parties needs.
    explicit frmImportGuests(QWidget* parent = nullptr, const shell::PeopleImport* people = nullptr);
    const shell::PeopleImport* people;

    // What the steps share.
    QString path;
    QByteArray bytes;
    CsvOptions options;
    CsvTable table;
    std::vector<GuestField> mapping;
    std::vector<GuestField> inviteTo;  // the events every party is invited to, unless the file says
    QString side;                      // every party's side, unless the file says ("": the import's own)
    ImportReview review;
    ImportResult result;
    bool imported = false;
};

// Step 1: the file, its encoding, separator and header row, and the rows as read.
class ImportFilePage : public QWizardPage {
    Q_OBJECT
public:
    explicit ImportFilePage(frmImportGuests* wizard);
    bool isComplete() const override;
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QComboBox *cboEncoding, *cboSeparator;
    QCheckBox* chkHeader;
    QTableWidget* grdPreview;
    QLabel* lblMessage;

private:
    void cmdBrowse_Click();
    void loadFile();
    void readAgain();
    void showGuesses();
    void showPreview();
    frmImportGuests* wizard_;
    bool loaded_ = false;
};

// Step 2: one row per column: its header, examples, and the guest field it fills.
class ImportColumnsPage : public QWizardPage {
    Q_OBJECT
public:
    explicit ImportColumnsPage(frmImportGuests* wizard);
    void initializePage() override;
    bool validatePage() override;
    QTableWidget* grdColumns;
    QLabel* lblNotImported;

private:
    void field_Changed(int column);
    void guessPeopleColumns();
    void showNotImported();
    frmImportGuests* wizard_;
    bool remembered_ = false;
};

// Step 3: the events every party is invited to and its side, where the file does not say.
class ImportInvitePage : public QWizardPage {
    Q_OBJECT
public:
    explicit ImportInvitePage(frmImportGuests* wizard);
    void initializePage() override;
    bool validatePage() override;
    QCheckBox* chkEvents[4];  // ceremony, reception, shower, rehearsal
    QComboBox* cboSide;
    QLabel* lblFileSays;

private:
    frmImportGuests* wizard_;
};

// Step 4: new parties, likely duplicates and problems, each with its choice.
class ImportReviewPage : public QWizardPage {
    Q_OBJECT
public:
    explicit ImportReviewPage(frmImportGuests* wizard);
    void initializePage() override;
    bool validatePage() override;
    QTabWidget* tabReview;
    QTableWidget *grdNew, *grdDuplicates, *grdProblems;
    QTreeWidget* treParties;  // a list of people: the new parties, each with its people
    QComboBox* cboAllDuplicates;
    QLabel *lblNotImported, *lblCounts;

private:
    void fillNew();
    void fillParties();
    QStackedWidget* newPlace_;
    void fillDuplicates();
    void fillProblems();
    frmImportGuests* wizard_;
};

// Step 4: what the import did.
class ImportDonePage : public QWizardPage {
    Q_OBJECT
public:
    explicit ImportDonePage(frmImportGuests* wizard);
    void initializePage() override;
    QLabel* lblSummary;

private:
    frmImportGuests* wizard_;
};

// Shows the wizard modally over parent; returns whether anything was imported.
bool showImportGuests(QWidget* parent, const shell::PeopleImport* people = nullptr);

}  // namespace exchange
