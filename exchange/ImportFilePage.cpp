// Step 1 of the guest import: the file and how it is read.
#include "controls/Dialogs.h"
#include "controls/Named.h"
#include "exchange/frmImportGuests.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTableWidget>

namespace exchange {

namespace {

constexpr int PreviewRows = 20;

using controls::named;

}  // namespace

ImportFilePage::ImportFilePage(frmImportGuests* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 1 of 4: the guest list file"));
    setSubTitle(
        QStringLiteral("Choose a guest list saved as CSV or text. Check that the rows below read as they "
                       "should; correct the encoding, separator or header row if not."));
    txtFile = named(new QLineEdit, "txtFile");
    cmdBrowse = named(new QPushButton(QStringLiteral("&Browse...")), "cmdBrowse");
    cboEncoding = named(new QComboBox, "cboEncoding");
    for (Encoding e : AllEncodings)
        cboEncoding->addItem(encodingName(e), int(e));
    cboSeparator = named(new QComboBox, "cboSeparator");
    for (char s : Separators)
        cboSeparator->addItem(separatorName(s), int(s));
    chkHeader = named(new QCheckBox(QStringLiteral("First row holds the column &names")), "chkHeader");
    grdPreview = named(new QTableWidget, "grdPreview");
    grdPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPreview->verticalHeader()->setDefaultSectionSize(22);
    lblMessage = named(new QLabel, "lblMessage");
    lblMessage->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    auto* fileLabel = new QLabel(QStringLiteral("&File:"));
    fileLabel->setBuddy(txtFile);
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(txtFile, 0, 1, 1, 4);
    grid->addWidget(cmdBrowse, 0, 5);
    auto* encodingLabel = new QLabel(QStringLiteral("&Encoding:"));
    encodingLabel->setBuddy(cboEncoding);
    auto* separatorLabel = new QLabel(QStringLiteral("&Separator:"));
    separatorLabel->setBuddy(cboSeparator);
    grid->addWidget(encodingLabel, 1, 0);
    grid->addWidget(cboEncoding, 1, 1);
    grid->addWidget(separatorLabel, 1, 2);
    grid->addWidget(cboSeparator, 1, 3);
    grid->addWidget(chkHeader, 1, 4, 1, 2);
    grid->addWidget(grdPreview, 2, 0, 1, 6);
    grid->addWidget(lblMessage, 3, 0, 1, 6);
    grid->setColumnStretch(4, 1);

    connect(cmdBrowse, &QPushButton::clicked, this, &ImportFilePage::cmdBrowse_Click);
    connect(txtFile, &QLineEdit::editingFinished, this, &ImportFilePage::loadFile);
    connect(txtFile, &QLineEdit::textEdited, this, [this] {
        loaded_ = false;
        emit completeChanged();
    });
    connect(cboEncoding, &QComboBox::activated, this, &ImportFilePage::readAgain);
    connect(cboSeparator, &QComboBox::activated, this, &ImportFilePage::readAgain);
    connect(chkHeader, &QCheckBox::clicked, this, &ImportFilePage::readAgain);
    showGuesses();
}

bool ImportFilePage::isComplete() const
{
    return loaded_ && !wizard_->table.rows.isEmpty();
}

void ImportFilePage::cmdBrowse_Click()
{
    const QString start = txtFile->text().isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                              : QFileInfo(txtFile->text()).path();
    const QString chosen =
        controls::GetOpenFileName(this, QStringLiteral("Import Guests"), start,
                                     QStringLiteral("Guest lists (*.csv *.txt *.tsv);;All files (*)"));
    if (chosen.isEmpty())
        return;
    txtFile->setText(chosen);
    loadFile();
}

// Reads the file afresh, with every setting guessed from it.
void ImportFilePage::loadFile()
{
    const QString path = txtFile->text().trimmed();
    if (path == wizard_->path && loaded_)
        return;
    wizard_->path = path;
    wizard_->options = {};
    wizard_->table = {};
    loaded_ = false;
    try {
        wizard_->bytes = readImportFile(path);
        wizard_->table = readCsv(wizard_->bytes);
        loaded_ = true;
        lblMessage->setText(wizard_->table.rows.isEmpty() ? QStringLiteral("The file holds no guests.")
                                                          : QString());
    } catch (const ExchangeError& e) {
        wizard_->bytes.clear();
        lblMessage->setText(e.message());
    }
    showGuesses();
    showPreview();
    emit completeChanged();
}

// Reads the same bytes again with the settings as the user corrected them.
void ImportFilePage::readAgain()
{
    if (!loaded_)
        return;
    wizard_->options.encoding = Encoding(cboEncoding->currentData().toInt());
    wizard_->options.separator = char(cboSeparator->currentData().toInt());
    wizard_->options.headerRow = chkHeader->isChecked();
    try {
        wizard_->table = readCsv(wizard_->bytes, wizard_->options);
    } catch (const ExchangeError& e) {
        wizard_->table = {};
        lblMessage->setText(e.message());
    }
    showPreview();
    emit completeChanged();
}

void ImportFilePage::showGuesses()
{
    const CsvTable& t = wizard_->table;
    const QSignalBlocker b1(cboEncoding), b2(cboSeparator), b3(chkHeader);
    cboEncoding->setCurrentIndex(cboEncoding->findData(int(t.encoding)));
    cboSeparator->setCurrentIndex(cboSeparator->findData(int(t.separator)));
    chkHeader->setChecked(t.headerRow);
    for (QWidget* w : std::initializer_list<QWidget*>{cboEncoding, cboSeparator, chkHeader})
        w->setEnabled(loaded_);
}

void ImportFilePage::showPreview()
{
    const CsvTable& t = wizard_->table;
    const int rows = int(std::min<qsizetype>(t.rows.size(), PreviewRows));
    grdPreview->clear();
    grdPreview->setColumnCount(int(t.headers.size()));
    grdPreview->setRowCount(rows);
    grdPreview->setHorizontalHeaderLabels(t.headers);
    QStringList numbers;
    for (int r = 0; r < rows; ++r) {
        numbers << QString::number(t.rowNumbers.value(r));
        for (int c = 0; c < t.headers.size(); ++c)
            grdPreview->setItem(r, c, new QTableWidgetItem(shownText(t.rows.cell(r, c).simplified())));
    }
    grdPreview->setVerticalHeaderLabels(numbers);
    grdPreview->resizeColumnsToContents();
    for (int c = 0; c < grdPreview->columnCount(); ++c)
        grdPreview->setColumnWidth(c, std::min(grdPreview->columnWidth(c), 220));
    if (loaded_ && !t.rows.isEmpty())
        lblMessage->setText(QStringLiteral("%1 rows. The first %2 are shown as they will be read.")
                                .arg(t.rows.size())
                                .arg(rows));
}

}  // namespace exchange
