#include "budget/frmDataGrid.h"

#include "budget/ExpenseRules.h"
#include "budget/frmBudget.h"
#include "controls/DataGrid.h"
#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/FailureReason.h"
#include "controls/GridWindow.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "store/Log.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace budget;
using store::Currency;

namespace {

const QString ProgramTitle = QStringLiteral("Orvane");

bool isAmount(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<Currency>();
}

}  // namespace

void showExpenseWindow(QWidget* parent)
{
    try {
        frmDataGrid window(parent ? parent : QApplication::activeWindow());
        if (!window.isLoaded())
            return;
        window.Data1->setRecordset(
            shell::database().openRecordset(QStringLiteral("Expenses"), store::RecordsetType::Dynaset));
        window.setWindowTitle(QStringLiteral("Expense Table"));
        controls::ShowModal(&window);
    } catch (const store::StoreError& ignored) {
        store::logIgnored("opening the expense window", ignored);
        // Opening the expense window ends silently on a failure.
    }
}

frmDataGrid::frmDataGrid(QWidget* parent) : QDialog(parent)
{
    createControls();
    // The sums are read from the grid, so the rows are loaded before they are summed.
    Form_Load();
    if (loaded_)
        Form_Initialize();
}

void frmDataGrid::createControls()
{
    setObjectName(QStringLiteral("frmDataGrid"));
    setWindowTitle(QStringLiteral("Expense Tracker"));

    shell::setHelpContext(this, shell::HelpExpenses);
    using grids::named;
    Data1 = named(new controls::DataSource(this), "Data1");
    Data2 = named(new controls::DataSource(this), "Data2");
    Picture3 = named(new QWidget(this), "Picture3");
    grddataGrid = named(new controls::DataGrid(Picture3), "grddataGrid");
    DBList1 = named(new controls::DataList(this), "DBList1");
    Check1 = named(new QCheckBox(QStringLiteral("Show Sample Items"), this), "Check1");
    Command1 = named(new QPushButton(QStringLiteral("Delete Expense"), this), "Command1");
    cmdBudget = named(new QPushButton(QStringLiteral("&Budget..."), this), "cmdBudget");
    Label1 = named(new QLabel(QStringLiteral("Total Expenses"), this), "Label1");
    lbltotalamount = named(new QLabel(this), "lbltotalamount");
    Label2 = named(new QLabel(QStringLiteral("Total Owing"), this), "Label2");
    lbltotalowing = named(new QLabel(this), "lbltotalowing");
    SSCommand1 = named(new QPushButton(QStringLiteral("Help"), this), "SSCommand1");
    SSCommand4 = named(new QPushButton(QStringLiteral("Close"), this), "SSCommand4");
    mnuGridEdit = named(new QMenu(QStringLiteral("Grid Control"), this), "mnuGridEdit");
    mnuDelete = named(mnuGridEdit->addAction(QStringLiteral("Delete")), "mnuDelete");
    for (QLabel* sum : {lbltotalamount, lbltotalowing}) {
        sum->setFrameShape(QFrame::Panel);
        sum->setFrameShadow(QFrame::Sunken);
        sum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        sum->setMinimumWidth(120);
    }

    using controls::CellFormat;
    grddataGrid->setColumns({
        grids::boundColumn(QStringLiteral("Description"), QStringLiteral("Description")),
        grids::boundColumn(QStringLiteral("Unit  Cost"), QStringLiteral("Amount"), CellFormat::Currency),
        grids::boundColumn(QStringLiteral("Qty"), QStringLiteral("Quantity"), CellFormat::GeneralNumber),
        grids::boundColumn(QStringLiteral("Deposit"), QStringLiteral("Downpayment"), CellFormat::Currency),
        grids::boundColumn(QStringLiteral("Paid"), QStringLiteral("Paid"), CellFormat::Currency),
        grids::boundColumn(QStringLiteral("Total"), QStringLiteral("Total"), CellFormat::Currency),
        grids::boundColumn(QStringLiteral("Owing"), QStringLiteral("Owing"), CellFormat::Currency),
    });
    grddataGrid->setDataSource(Data1);
    grids::arrangeColumns(grddataGrid, {240, 90, 45, 90, 90, 90, 90}, ColDescription);
    commands_ = new grids::GridCommands(grddataGrid, Data1, mnuGridEdit, this);
    grids::keepEnterForTheGrid(this);
    DBList1->setVisible(false);  // shown while Show Sample Items is ticked
    DBList1->setMinimumWidth(220);

    auto* panel = new QVBoxLayout(Picture3);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(grddataGrid);
    auto* lists = new QHBoxLayout;
    lists->addWidget(Picture3, 1);
    lists->addWidget(DBList1);
    auto* sums = new QHBoxLayout;
    sums->addWidget(Check1);
    sums->addStretch();
    sums->addWidget(Label1);
    sums->addWidget(lbltotalamount);
    sums->addSpacing(16);
    sums->addWidget(Label2);
    sums->addWidget(lbltotalowing);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(cmdBudget);
    buttons->addStretch();
    buttons->addWidget(SSCommand1);
    buttons->addWidget(SSCommand4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(sums);
    layout->addLayout(buttons);
    resize(1000, 560);

    connect(grddataGrid, &controls::DataGrid::beforeColUpdate, this,
            &frmDataGrid::grddataGrid_BeforeColUpdate);
    connect(grddataGrid, &controls::DataGrid::afterColUpdate, this, &frmDataGrid::grddataGrid_AfterColUpdate);
    connect(grddataGrid, &controls::DataGrid::headClick, this, &frmDataGrid::grddataGrid_HeadClick);
    connect(Check1, &QCheckBox::toggled, this, &frmDataGrid::Check1_Click);
    controls::on(DBList1).click([this] { DBList1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &frmDataGrid::Command1_Click);
    connect(cmdBudget, &QPushButton::clicked, this, &frmDataGrid::cmdBudget_Click);
    connect(mnuDelete, &QAction::triggered, this, &frmDataGrid::mnuDelete_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmDataGrid::SSCommand1_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmDataGrid::SSCommand4_Click);
}

void frmDataGrid::Form_Initialize()
{
    Get_Totals();
}

void frmDataGrid::Form_Load()
{
    // Amounts stay on one line.
    grddataGrid->setWordWrap(false);
    const QString database = shell::program().DatabasePath;
    Data1->setDatabaseName(database);
    Data1->setRecordSource(QStringLiteral("Expenses"));
    Data1->setRecordsetType(store::RecordsetType::Dynaset);
    Data2->setDatabaseName(database);
    Data2->setRecordSource(QStringLiteral("BudgetPlan"));
    Data2->setRecordsetType(store::RecordsetType::Dynaset);
    try {
        Data1->refresh();
        Data2->refresh();
        DBList1->setRowSource(Data2, QStringLiteral("Description"));
        loaded_ = true;
    } catch (const store::StoreError& failure) {
        grids::reportLoadFailure(failure, this);
        close();
    }
}

void frmDataGrid::Get_Totals()
{
    ExpenseSums sums;
    for (int row = 0; row < grddataGrid->rowCount(); ++row)
        sums.add(controls::moneyOf(grddataGrid->cellValue(row, ColTotal)),
                 controls::moneyOf(grddataGrid->cellValue(row, ColOwing)));
    lbltotalamount->setText(sumText(sums.total));
    lbltotalowing->setText(sumText(sums.owing));
}

// Every empty amount of the row takes its default (Qty 1, the others 0).
void frmDataGrid::fillEmptyCells()
{
    for (int c = ColUnitCost; c <= ColOwing; ++c)
        if (grddataGrid->columnText(c).isEmpty())
            grddataGrid->setColumnText(c, emptyCellDefault(c));
}

// Why the edited cell cannot be stored ("" when it can): it must read as an amount, a
// quantity cannot be negative, and a unit cost times a quantity must fit in an amount.
QString frmDataGrid::refusalOf(int column) const
{
    const QString caption = grddataGrid->column(column).caption.simplified();
    const QVariant typed = controls::parseCell(grddataGrid->columnText(column), store::FieldType::Currency);
    if (!isAmount(typed))
        return QStringLiteral("%1 takes %2.")
            .arg(caption, controls::expectedValueText(column == ColQty ? store::FieldType::Number
                                                                       : store::FieldType::Currency));
    if (column == ColQty && typed.value<Currency>() < Currency())
        return QStringLiteral("%1 cannot be less than 0.").arg(caption);
    if (column != ColUnitCost && column != ColQty)
        return QString();
    const Currency unitCost = column == ColUnitCost
                                  ? typed.value<Currency>()
                                  : controls::moneyOf(grddataGrid->columnValue(ColUnitCost));
    const Currency quantity =
        column == ColQty ? typed.value<Currency>() : controls::moneyOf(grddataGrid->columnValue(ColQty));
    if (!lineTotal(unitCost, wholeQuantity(quantity)))
        return QStringLiteral("Unit Cost times Qty is more than an amount can hold.");
    return QString();
}

void frmDataGrid::grddataGrid_BeforeColUpdate(int column, const QVariant&, bool& cancel)
{
    fillEmptyCells();
    if (!mustBeNumber(column))
        return;
    if (const QString refusal = refusalOf(column); !refusal.isEmpty()) {
        controls::MsgBox(QStringLiteral("Not a valid value"), controls::mb::OKOnly, ProgramTitle, this,
                         refusal + QStringLiteral(" The cell keeps its value."));
        cancel = true;
        return;
    }
    // The table keeps whole quantities: the cell shows the quantity that is stored.
    if (column == ColQty)
        grddataGrid->setColumnValue(ColQty,
                                    wholeQuantity(controls::moneyOf(grddataGrid->columnValue(ColQty))));
}

void frmDataGrid::grddataGrid_AfterColUpdate(int column)
{
    auto amount = [this](int c) { return controls::moneyOf(grddataGrid->columnValue(c)); };
    if (column == ColUnitCost || column == ColQty) {
        if (const auto total = lineTotal(amount(ColUnitCost), wholeQuantity(amount(ColQty))))
            grddataGrid->setColumnValue(ColTotal, QVariant::fromValue(*total));
    }
    if (column >= ColUnitCost && column <= ColPaid) {
        const Currency owing = owingOf(amount(ColTotal), amount(ColDeposit), amount(ColPaid));
        grddataGrid->setColumnValue(ColOwing, QVariant::fromValue(owing));
        Get_Totals();
    }
}

void frmDataGrid::grddataGrid_HeadClick(int column)
{
    commands_->sortByColumn(column);
}

void frmDataGrid::Check1_Click()
{
    DBList1->setVisible(Check1->isChecked());
}

void frmDataGrid::DBList1_Click()
{
    const QString item = DBList1->text();
    if (item.isEmpty())
        return;
    const int answer = controls::MsgBox(QStringLiteral("Add this item to expense list?\n\n") + item,
                                        controls::mb::YesNo | controls::mb::Question,
                                        QStringLiteral("Add Expense Item"), this);
    if (answer == controls::mb::Yes)
        addSampleItem(item);
}

// Appends a row with only its description; the sums stay as they are.
void frmDataGrid::addSampleItem(const QString& description)
{
    Data1->updateRecord();  // the row being edited is stored first; a failure does not stop the addition
    store::Recordset* expenses = Data1->recordset();
    if (!expenses)
        return;
    try {
        expenses->addNew();
        expenses->setValue(QStringLiteral("Description"), description);
        expenses->update();
        const store::Bookmark added = expenses->lastModified();
        Data1->resync();
        Data1->setBookmark(added);
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
    }
}

void frmDataGrid::Command1_Click()
{
    mnuDelete_Click();
}

// The row being edited is stored first, so that the budget counts it; afterwards the rows
// are read again, since the budget window may have added rows or recorded payments.
void frmDataGrid::cmdBudget_Click()
{
    if (!Data1->updateRecord())
        return;
    showBudgetWindow(this);
    store::Recordset* expenses = Data1->recordset();
    if (!expenses)
        return;
    const std::optional<store::Bookmark> at = Data1->bookmark();
    try {
        expenses->requery();
        Data1->resync();
        if (at && expenses->hasBookmark(*at))
            Data1->setBookmark(*at);
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
    }
    Get_Totals();
}

void frmDataGrid::mnuDelete_Click()
{
    if (commands_->deleteCurrentRow() == grids::GridCommands::Deletion::Deleted)
        Get_Totals();
}

void frmDataGrid::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpExpenses);
}
void frmDataGrid::SSCommand4_Click()
{
    close();
}
