#include "app/frmImportExpenses.h"

#include "controls/Dialogs.h"
#include "controls/Named.h"
#include "exchange/CsvFile.h"
#include "shell/ErrorMessage.h"
#include "shell/Program.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

using controls::named;

namespace {

constexpr int PreviewRows = 20;

const budget::ExpenseField AllFields[] = {
    budget::ExpenseField::None,     budget::ExpenseField::Category,  budget::ExpenseField::Item,
    budget::ExpenseField::Vendor,   budget::ExpenseField::Estimated, budget::ExpenseField::Actual,
    budget::ExpenseField::Quantity, budget::ExpenseField::Deposit,   budget::ExpenseField::Paid,
    budget::ExpenseField::DueDate,  budget::ExpenseField::Notes};

QTableWidget* readOnlyTable(const char* name)
{
    auto* table = named(new QTableWidget, name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setDefaultSectionSize(22);
    return table;
}

}  // namespace

bool showImportExpenses(QWidget* parent)
{
    frmImportExpenses wizard(parent);
    controls::ShowModal(&wizard);
    return wizard.imported;
}

frmImportExpenses::frmImportExpenses(QWidget* parent) : QWizard(parent)
{
    setObjectName(QStringLiteral("frmImportExpenses"));
    setWindowTitle(QStringLiteral("Import Expenses"));
    setWizardStyle(QWizard::ClassicStyle);
    setPage(FilePage, new ExpenseFilePage(this));
    setPage(ColumnsPage, new ExpenseColumnsPage(this));
    setPage(ReviewPage, new ExpenseReviewPage(this));
    setPage(DonePage, new ExpenseDonePage(this));
    setButtonText(QWizard::CommitButton, QStringLiteral("&Import"));
    resize(820, 560);
}

QString frmImportExpenses::readFile(const QString& path, char separator, std::optional<bool> header)
{
    try {
        exchange::CsvOptions options;
        if (separator)
            options.separator = separator;
        options.headerRow = false;
        const exchange::CsvTable records = exchange::readCsv(exchange::readImportFile(path), options);
        table = budget::expenseTable(records.rows.allAsRead(), records.rowNumbers, header);
        columns = budget::guessExpenseColumns(table.headers);
        decimalComma = budget::guessDecimalComma(table.rows, columns);
        return table.rows.isEmpty() ? QStringLiteral("The file holds no rows.") : QString();
    } catch (const exchange::ExchangeError& e) {
        table = {};
        return e.message();
    }
}

// ---- step 1 ------------------------------------------------------------------------------

ExpenseFilePage::ExpenseFilePage(frmImportExpenses* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 1 of 3: the budget file"));
    setSubTitle(
        QStringLiteral("Choose a budget spreadsheet saved as CSV. Check that the rows below read as they "
                       "should; correct the separator, the header row or how amounts are written if not."));
    txtFile = named(new QLineEdit, "txtFile");
    cmdBrowse = named(new QPushButton(QStringLiteral("&Browse...")), "cmdBrowse");
    cboSeparator = named(new QComboBox, "cboSeparator");
    for (char s : exchange::Separators)
        cboSeparator->addItem(exchange::separatorName(s), int(s));
    cboDecimal = named(new QComboBox, "cboDecimal");
    cboDecimal->addItems(
        {QStringLiteral("1,200.00 (decimal point)"), QStringLiteral("1.200,00 (decimal comma)")});
    chkHeader = named(new QCheckBox(QStringLiteral("First row holds the column &names")), "chkHeader");
    grdPreview = readOnlyTable("grdPreview");
    lblMessage = named(new QLabel, "lblMessage");
    lblMessage->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    auto* fileLabel = new QLabel(QStringLiteral("&File:"));
    fileLabel->setBuddy(txtFile);
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(txtFile, 0, 1, 1, 4);
    grid->addWidget(cmdBrowse, 0, 5);
    auto* separatorLabel = new QLabel(QStringLiteral("&Separator:"));
    separatorLabel->setBuddy(cboSeparator);
    auto* decimalLabel = new QLabel(QStringLiteral("&Amounts:"));
    decimalLabel->setBuddy(cboDecimal);
    grid->addWidget(separatorLabel, 1, 0);
    grid->addWidget(cboSeparator, 1, 1);
    grid->addWidget(decimalLabel, 1, 2);
    grid->addWidget(cboDecimal, 1, 3);
    grid->addWidget(chkHeader, 1, 4, 1, 2);
    grid->addWidget(grdPreview, 2, 0, 1, 6);
    grid->addWidget(lblMessage, 3, 0, 1, 6);
    grid->setColumnStretch(4, 1);

    connect(cmdBrowse, &QPushButton::clicked, this, [this] {
        const QString start = txtFile->text().isEmpty()
                                  ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                  : QFileInfo(txtFile->text()).path();
        const QString chosen =
            controls::GetOpenFileName(this, QStringLiteral("Import Expenses"), start,
                                         QStringLiteral("Budgets (*.csv *.txt);;All files (*)"));
        if (!chosen.isEmpty()) {
            txtFile->setText(chosen);
            load(true);
        }
    });
    connect(txtFile, &QLineEdit::editingFinished, this, [this] { load(true); });
    connect(cboSeparator, &QComboBox::activated, this, [this] { load(false); });
    connect(chkHeader, &QCheckBox::clicked, this, [this] { load(false); });
    connect(cboDecimal, &QComboBox::activated, this,
            [this] { wizard_->decimalComma = cboDecimal->currentIndex() == 1; });
}

bool ExpenseFilePage::isComplete() const
{
    return loaded_;
}

// Reads the file: with every setting guessed, or with the separator and header row chosen.
void ExpenseFilePage::load(bool guess)
{
    const char separator = guess ? '\0' : char(cboSeparator->currentData().toInt());
    const std::optional<bool> header = guess ? std::nullopt : std::optional<bool>(chkHeader->isChecked());
    const QString message = wizard_->readFile(txtFile->text().trimmed(), separator, header);
    loaded_ = message.isEmpty();
    lblMessage->setText(message);
    if (guess && loaded_) {
        const QByteArray bytes = exchange::readImportFile(txtFile->text().trimmed());
        cboSeparator->setCurrentIndex(cboSeparator->findData(
            int(exchange::detectSeparator(exchange::decodeText(bytes, exchange::detectEncoding(bytes))))));
    }
    chkHeader->setChecked(wizard_->table.headerRow);
    cboDecimal->setCurrentIndex(wizard_->decimalComma ? 1 : 0);
    const budget::ExpenseTable& table = wizard_->table;
    grdPreview->clear();
    grdPreview->setColumnCount(int(table.headers.size()));
    grdPreview->setHorizontalHeaderLabels(table.headers);
    grdPreview->setRowCount(int(std::min<qsizetype>(table.rows.size(), PreviewRows)));
    for (int r = 0; r < grdPreview->rowCount(); ++r)
        for (int c = 0; c < grdPreview->columnCount(); ++c)
            grdPreview->setItem(r, c, new QTableWidgetItem(table.rows[r].value(c)));
    emit completeChanged();
}

// ---- step 2 ------------------------------------------------------------------------------

ExpenseColumnsPage::ExpenseColumnsPage(frmImportExpenses* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 2 of 3: what each column holds"));
    setSubTitle(
        QStringLiteral("Orvane recognised the columns by their headers. Choose another field for a column, "
                       "or \"not imported\" to leave it out."));
    grdColumns = named(new QTableWidget(0, 3), "grdColumns");
    grdColumns->setHorizontalHeaderLabels(
        {QStringLiteral("Column"), QStringLiteral("First value"), QStringLiteral("Imported as")});
    grdColumns->horizontalHeader()->setStretchLastSection(true);
    grdColumns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdColumns);
}

void ExpenseColumnsPage::initializePage()
{
    const budget::ExpenseTable& table = wizard_->table;
    grdColumns->setRowCount(int(table.headers.size()));
    for (int c = 0; c < grdColumns->rowCount(); ++c) {
        grdColumns->setItem(c, 0, new QTableWidgetItem(table.headers[c]));
        grdColumns->setItem(c, 1,
                            new QTableWidgetItem(table.rows.isEmpty() ? QString() : table.rows[0].value(c)));
        auto* field = named(new QComboBox, QStringLiteral("cboField(%1)").arg(c));
        for (budget::ExpenseField f : AllFields)
            field->addItem(budget::fieldCaption(f), int(f));
        field->setCurrentIndex(field->findData(int(wizard_->columns[size_t(c)])));
        grdColumns->setCellWidget(c, 2, field);
    }
    grdColumns->resizeColumnsToContents();
}

bool ExpenseColumnsPage::validatePage()
{
    std::vector<budget::ExpenseField> chosen;
    for (int c = 0; c < grdColumns->rowCount(); ++c) {
        auto* field = static_cast<QComboBox*>(grdColumns->cellWidget(c, 2));
        const auto f = budget::ExpenseField(field->currentData().toInt());
        if (f != budget::ExpenseField::None && std::find(chosen.begin(), chosen.end(), f) != chosen.end()) {
            controls::MsgBox(QStringLiteral("Two columns are imported as %1.").arg(budget::fieldCaption(f)),
                             controls::mb::OKOnly, QStringLiteral("Import Expenses"), this,
                             QStringLiteral("Choose \"not imported\" for one of them."));
            return false;
        }
        chosen.push_back(f);
    }
    wizard_->columns = chosen;
    return true;
}

// ---- step 3 ------------------------------------------------------------------------------

ExpenseReviewPage::ExpenseReviewPage(frmImportExpenses* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 3 of 3: review"));
    setSubTitle(
        QStringLiteral("These expenses will be added, with a copy of the wedding file kept first. Rows left "
                       "out are listed with the reason; Back corrects how the file is read."));
    setCommitPage(true);
    txtReview = named(new QPlainTextEdit, "txtReview");
    txtReview->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtReview);
}

void ExpenseReviewPage::initializePage()
{
    try {
        wizard_->review = budget::reviewExpenses(wizard_->table.headers, wizard_->table.rows,
                                                 wizard_->table.rowNumbers, wizard_->columns,
                                                 wizard_->decimalComma, budget::loadPlan(shell::database()));
        txtReview->setPlainText(budget::reviewText(wizard_->review));
    } catch (const store::StoreError& failure) {
        txtReview->setPlainText(failure.description());
    }
}

bool ExpenseReviewPage::validatePage()
{
    try {
        wizard_->result = budget::runExpenseImport(shell::database(), wizard_->review);
        wizard_->imported = wizard_->result.added > 0;
        return true;
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
        return false;
    }
}

ExpenseDonePage::ExpenseDonePage(frmImportExpenses* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Imported"));
    lblSummary = named(new QLabel, "lblSummary");
    lblSummary->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addStretch();
}

void ExpenseDonePage::initializePage()
{
    QString text = wizard_->result.summary();
    if (!wizard_->result.backupPath.isEmpty())
        text +=
            QStringLiteral("\n\nThe wedding file as it was is kept in %1.").arg(wizard_->result.backupPath);
    lblSummary->setText(text);
}
