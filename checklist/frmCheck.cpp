#include "checklist/frmCheck.h"

#include "checklist/CheckRules.h"
#include "controls/DataGrid.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/GridWindow.h"
#include "shell/DatePicker.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Log.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace checklist;

void showChecklistWindow(std::unique_ptr<store::Recordset> checklist, QWidget* parent)
{
    try {
        frmCheck window(parent ? parent : QApplication::activeWindow());
        if (!window.isLoaded())
            return;
        window.Data1->setRecordset(std::move(checklist));
        window.setWindowTitle(QStringLiteral("Check List"));
        controls::ShowModal(&window);
    } catch (const store::StoreError& ignored) {
        store::logIgnored("opening the checklist", ignored);
        // Opening the checklist ends silently on a failure.
    }
}

frmCheck::frmCheck(QWidget* parent) : QDialog(parent)
{
    createControls();
    Form_Initialize();
    Form_Load();
}

void frmCheck::createControls()
{
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("Check List"));

    shell::setHelpContext(this, shell::HelpChecklist);
    using grids::named;
    Data1 = named(new controls::DataSource(this), "Data1");
    grddataGrid = named(new controls::DataGrid(this), "grddataGrid");
    Label1 = named(new QLabel(QStringLiteral("Wedding Date"), this), "Label1");
    lblweddate = named(new QLabel(this), "lblweddate");
    Label2 = named(new QLabel(QStringLiteral("Days Before Wedding"), this), "Label2");
    lbldaysbefore = named(new QLabel(this), "lbldaysbefore");
    Command1 = named(new QPushButton(QStringLiteral("Delete Item"), this), "Command1");
    SSCommand1 = named(new QPushButton(QStringLiteral("Help"), this), "SSCommand1");
    SSCommand4 = named(new QPushButton(QStringLiteral("Close"), this), "SSCommand4");
    mnuGridEdit = named(new QMenu(QStringLiteral("Grid Control"), this), "mnuGridEdit");
    mnuDelete = named(mnuGridEdit->addAction(QStringLiteral("Delete")), "mnuDelete");
    for (QLabel* value : {lblweddate, lbldaysbefore}) {
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setMinimumWidth(110);
    }

    grddataGrid->setColumns({
        {QStringLiteral("Done?"), QStringLiteral("Done"), controls::CellFormat::YesNo, QStringLiteral("No"),
         true},
        grids::boundColumn(QStringLiteral("CheckItem"), QStringLiteral("CheckItem")),
        grids::boundColumn(QStringLiteral("Due Date"), QStringLiteral("DueDate"),
                           controls::CellFormat::MediumDate),
        grids::boundColumn(QStringLiteral("Date Done"), QStringLiteral("CheckDate"),
                           controls::CellFormat::MediumDate),
    });
    grddataGrid->setDataSource(Data1);
    grids::arrangeColumns(grddataGrid, {70, 300, 110, 110}, ColCheckItem);
    commands_ = new grids::GridCommands(grddataGrid, Data1, mnuGridEdit, this);
    grids::keepEnterForTheGrid(this);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(lblweddate);
    top->addStretch();
    top->addWidget(Label2);
    top->addWidget(lbldaysbefore);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Command1);
    bottom->addStretch();
    bottom->addWidget(SSCommand1);
    bottom->addWidget(SSCommand4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grddataGrid, 1);
    layout->addLayout(bottom);
    resize(760, 600);

    connect(grddataGrid, &controls::DataGrid::buttonClick, this, &frmCheck::grddataGrid_ButtonClick);
    connect(grddataGrid, &controls::DataGrid::beforeColEdit, this, &frmCheck::grddataGrid_BeforeColEdit);
    connect(grddataGrid, &controls::DataGrid::afterColEdit, this, &frmCheck::grddataGrid_AfterColEdit);
    connect(grddataGrid, &controls::DataGrid::dblClick, this, &frmCheck::grddataGrid_DblClick);
    connect(grddataGrid, &controls::DataGrid::headClick, this, &frmCheck::grddataGrid_HeadClick);
    connect(Command1, &QPushButton::clicked, this, &frmCheck::Command1_Click);
    connect(mnuDelete, &QAction::triggered, this, &frmCheck::mnuDelete_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmCheck::SSCommand1_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmCheck::SSCommand4_Click);
}

void frmCheck::Form_Initialize()
{
    Get_Totals();
    if (lblweddate->text().isEmpty())
        shell::showTip(shell::TipNoWeddingDate);
}

void frmCheck::Form_Load()
{
    // Long task texts wrap within their cell; rows can be made taller by hand.
    grddataGrid->setWordWrap(true);
    Data1->setDatabaseName(shell::program().DatabasePath);
    Data1->setRecordSource(QStringLiteral("Checklist"));
    Data1->setRecordsetType(store::RecordsetType::Dynaset);
    try {
        Data1->refresh();
        loaded_ = true;
    } catch (const store::StoreError& failure) {
        grids::reportLoadFailure(failure, this);
        close();
    }
}

void frmCheck::Get_Totals()
{
    QString dateText, daysText;
    try {
        auto general =
            shell::database().openRecordset(QStringLiteral("General"), store::RecordsetType::Snapshot);
        const QVariant wedding = general->value(QStringLiteral("weddingdate"));
        general->close();
        if (wedding.typeId() == QMetaType::QDateTime && wedding.toDateTime().isValid()) {
            dateText = controls::formatCell(wedding, controls::CellFormat::ShortDate);
            daysText = QString::number(daysBeforeWedding(QDate::currentDate(), wedding.toDateTime()));
        }
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reading the wedding date for the checklist", ignored);
        // No general record or no database: both labels stay empty.
    }
    lblweddate->setText(dateText);
    lbldaysbefore->setText(daysText);
}

void frmCheck::setDone(bool done)
{
    if (grddataGrid->columnValue(ColDone).toBool() != done)
        grddataGrid->setColumnValue(ColDone, done);
}

void frmCheck::pickDateFor(int column, const QString& typed)
{
    const QString cell = grddataGrid->columnText(column);
    const QString answer = shell::pickDate(pickerCaption(grddataGrid->column(column).caption),
                                           QDate::currentDate(), cell, cell, typed);
    if (const auto text = pickedCellText(answer, cell))
        grddataGrid->setColumnText(column, *text);
}

void frmCheck::grddataGrid_ButtonClick(int)
{
    const bool done = !grddataGrid->columnValue(ColDone).toBool();
    grddataGrid->setColumnValue(ColDone, done);
    if (done) {
        const QDateTime now = QDateTime::currentDateTime();
        const QTime time = now.time();
        grddataGrid->setColumnValue(ColDateDone,
                                    QDateTime(now.date(), QTime(time.hour(), time.minute(), time.second())));
    } else {
        grddataGrid->setColumnValue(ColDateDone, QVariant());
    }
}

// Dates are picked from the calendar; a full stop typed into a date cell edits it as text.
void frmCheck::grddataGrid_BeforeColEdit(int column, int& keyAscii, bool& cancel)
{
    if (!isDateColumn(column))
        return;
    if (keyAscii != '.') {
        cancel = true;
        // The key that started the edit is the first character of a date typed in the picker.
        const QChar typed{char16_t(keyAscii)};
        pickDateFor(column, keyAscii >= ' ' && typed.isPrint() ? QString(typed) : QString());
    }
    setDone(!grddataGrid->columnText(ColDateDone).isEmpty());
}

// A date cell emptied by hand holds no date rather than an empty text.
void frmCheck::grddataGrid_AfterColEdit(int column)
{
    if (!isDateColumn(column) || !grddataGrid->columnText(column).isEmpty())
        return;
    const QVariant value = grddataGrid->columnValue(column);
    if (value.isValid() && !value.isNull())
        grddataGrid->setColumnValue(column, QVariant());
}

void frmCheck::grddataGrid_DblClick()
{
    if (!isDateColumn(grddataGrid->col()))
        return;
    pickDateFor(grddataGrid->col());
    if (!grddataGrid->columnText(ColDateDone).isEmpty())
        setDone(true);
}

void frmCheck::grddataGrid_HeadClick(int column)
{
    commands_->sortByColumn(column);
}
void frmCheck::Command1_Click()
{
    commands_->deleteCurrentRow();
}
void frmCheck::mnuDelete_Click()
{
    commands_->deleteCurrentRow();
}
void frmCheck::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpChecklist);
}
void frmCheck::SSCommand4_Click()
{
    close();
}
