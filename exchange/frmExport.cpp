#include "exchange/frmExport.h"
#include "controls/Named.h"

#include "exchange/Calendar.h"
#include "exchange/ExchangeError.h"
#include "exchange/Export.h"

#include "controls/Dialogs.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "store/OutputFile.h"
#include "store/Store.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

namespace exchange {

namespace {

using controls::named;

}  // namespace

frmExport::frmExport(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode)
{
    const bool lists = mode == Mode::Lists;
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(lists ? QStringLiteral("Export") : QStringLiteral("Export to Calendar"));
    auto* form = new QFormLayout(this);
    if (lists) {
        cboList = named(new QComboBox, "cboList");
        for (ExportList l : AllLists)
            cboList->addItem(listTitle(l), int(l));
        form->addRow(QStringLiteral("&List:"), cboList);
        optCsv =
            named(new QRadioButton(QStringLiteral("&CSV (opens in every spreadsheet program)")), "optCsv");
        optXlsx = named(new QRadioButton(QStringLiteral("E&xcel workbook (.xlsx)")), "optXlsx");
        optCsv->setChecked(true);
        auto* formats = new QVBoxLayout;
        formats->addWidget(optCsv);
        formats->addWidget(optXlsx);
        form->addRow(QStringLiteral("Format:"), formats);
        connect(cboList, &QComboBox::activated, this, &frmExport::suggestFile);
        connect(optCsv, &QRadioButton::toggled, this, &frmExport::suggestFile);
    }
    txtFile = named(new QLineEdit, "txtFile");
    txtFile->setMinimumWidth(380);
    cmdBrowse = named(new QPushButton(QStringLiteral("&Browse...")), "cmdBrowse");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFile);
    fileRow->addWidget(cmdBrowse);
    auto* fileLabel = new QLabel(QStringLiteral("&File:"));
    fileLabel->setBuddy(txtFile);
    form->addRow(fileLabel, fileRow);
    auto* buttons = new QDialogButtonBox;
    cmdExport =
        named(buttons->addButton(QStringLiteral("&Export"), QDialogButtonBox::AcceptRole), "cmdExport");
    cmdCancel = named(buttons->addButton(QDialogButtonBox::Cancel), "cmdCancel");
    cmdHelp = named(buttons->addButton(QDialogButtonBox::Help), "cmdHelp");
    cmdExport->setDefault(true);
    form->addRow(buttons);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmExport::cmdBrowse_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmExport::cmdExport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, [this] { shell::showHelp(this, shell::HelpExport); });
    txtFile->setText(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                         .filePath(lists ? QStringLiteral("Guests.csv") : QStringLiteral("Wedding.ics")));
    suggestFile();
}

void frmExport::suggestFile()
{
    if (mode_ != Mode::Lists)
        return;
    const QFileInfo current(txtFile->text());
    const QString name = listTitle(ExportList(cboList->currentData().toInt())) +
                         (optXlsx->isChecked() ? QStringLiteral(".xlsx") : QStringLiteral(".csv"));
    txtFile->setText(current.dir().filePath(name));
}

void frmExport::cmdBrowse_Click()
{
    const QString filter = mode_ == Mode::Calendar ? QStringLiteral("iCalendar files (*.ics)")
                           : optXlsx->isChecked()  ? QStringLiteral("Excel workbooks (*.xlsx)")
                                                   : QStringLiteral("CSV files (*.csv)");
    const QString chosen = controls::GetSaveFileName(this, windowTitle(), txtFile->text(), filter);
    if (!chosen.isEmpty())
        txtFile->setText(chosen);
}

void frmExport::cmdExport_Click()
{
    QString path = txtFile->text().trimmed();
    if (path.isEmpty()) {
        controls::MsgBox(QStringLiteral("Type the name of the file to write."), controls::mb::Exclamation,
                         windowTitle(), this);
        return;
    }
    const QString suffix = mode_ == Mode::Calendar ? QStringLiteral("ics")
                           : optXlsx->isChecked()  ? QStringLiteral("xlsx")
                                                   : QStringLiteral("csv");
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + suffix;
    if (const QString refused = store::output::refusal(path, shell::database().path()); !refused.isEmpty()) {
        controls::MsgBox(refused, controls::mb::Exclamation, windowTitle(), this);
        return;
    }
    if (QFileInfo::exists(path) &&
        controls::MsgBox(QStringLiteral("%1 already exists. Replace it?").arg(path),
                         controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2,
                         windowTitle(), this) != controls::mb::Yes)
        return;
    try {
        QString done;
        QStringList notes;
        if (mode_ == Mode::Calendar) {
            const int events = writeCalendar(shell::database(), path, &notes);
            done = QStringLiteral("%1 events written to %2.").arg(events).arg(path);
        } else {
            const int rows =
                exportList(shell::database(), ExportList(cboList->currentData().toInt()), path, &notes);
            done = QStringLiteral("%1 rows written to %2.").arg(rows).arg(path);
        }
        if (!notes.isEmpty())
            done += QStringLiteral("\n\n") + notes.join(QLatin1Char('\n'));
        controls::MsgBox(done, notes.isEmpty() ? controls::mb::Information : controls::mb::Exclamation,
                         windowTitle(), this);
        accept();
    } catch (const ExchangeError& e) {
        controls::MsgBox(e.message(), controls::mb::Exclamation, windowTitle(), this);
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::Exclamation, windowTitle(), this);
    }
}

void showExport(QWidget* parent, frmExport::Mode mode)
{
    frmExport window(mode, parent);
    controls::ShowModal(&window);
}

}  // namespace exchange
