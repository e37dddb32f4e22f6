#include "budget/frmBudget.h"

#include "budget/BudgetStore.h"
#include "budget/frmBudgetChart.h"
#include "controls/CellFormat.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/FailureReason.h"
#include "controls/GridWindow.h"
#include "shell/DatePicker.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

using namespace budget;
using grids::named;
using store::Currency;

namespace {

const QString ProgramTitle = QStringLiteral("Orvane");
// The key of the row that gathers the items without a category.
constexpr qint64 WithoutCategory = -1;

QString moneyText(Currency amount)
{
    return controls::formatCell(QVariant::fromValue(amount), controls::CellFormat::Currency);
}

QString stateText(PaymentState state)
{
    switch (state) {
        case PaymentState::Paid:
            return QStringLiteral("Paid");
        case PaymentState::Overdue:
            return QStringLiteral("Overdue");
        case PaymentState::DueSoon:
            return QStringLiteral("Due soon");
        case PaymentState::Later:
            return QStringLiteral("Later");
        case PaymentState::Undated:
            return QStringLiteral("No due date");
    }
    return QString();
}

QTableWidget* newTable(QWidget* parent, const char* name, const QStringList& captions)
{
    auto* table = named(new QTableWidget(0, int(captions.size()), parent), name);
    table->setHorizontalHeaderLabels(captions);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);  // Tab moves on to the next control
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

QTableWidgetItem* cell(const QString& text, bool amount = false)
{
    auto* item = new QTableWidgetItem(text);
    if (amount)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

void setRow(QTableWidget* table, int row, const QStringList& texts, int firstAmount, qint64 key)
{
    for (int c = 0; c < texts.size(); ++c)
        table->setItem(row, c, cell(texts[c], c >= firstAmount));
    table->item(row, 0)->setData(Qt::UserRole, key);
}

// Columns as wide as their texts, measured once the table is filled (a table that sizes its
// columns itself measures every row again at each row filled).
void fitColumns(QTableWidget* table)
{
    for (int c = 0; c + 1 < table->columnCount(); ++c)
        table->resizeColumnToContents(c);
}

// The row of a table whose key is key, or -1.
int rowOfKey(const QTableWidget* table, qint64 key)
{
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->item(r, 0)->data(Qt::UserRole).toLongLong() == key)
            return r;
    return -1;
}

qint64 keyOfRow(const QTableWidget* table, int row)
{
    return row < 0 || row >= table->rowCount() ? 0 : table->item(row, 0)->data(Qt::UserRole).toLongLong();
}

void selectRow(QTableWidget* table, int row)
{
    if (row < 0 && table->rowCount() > 0)
        row = 0;
    if (row >= 0)
        table->setCurrentCell(row, 0);
    else
        table->clearSelection();
}

QString overUnderText(const CategoryFigures& row)
{
    const Currency difference = row.underPlan();
    if (difference == Currency())
        return QStringLiteral("On plan");
    return difference < Currency() ? QStringLiteral("Over by %1").arg(moneyText(-difference))
                                   : QStringLiteral("Under by %1").arg(moneyText(difference));
}

}  // namespace

void showBudgetWindow(QWidget* parent)
{
    frmBudget window(parent ? parent : QApplication::activeWindow());
    if (window.isLoaded())
        controls::ShowModal(&window);
}

frmBudget::frmBudget(QWidget* parent) : QDialog(parent), today_(QDate::currentDate())
{
    createControls();
    connectControls();
    try {
        plan_ = loadPlan(shell::database());
        loaded_ = true;
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
        return;
    }
    filling_ = true;
    fillSummary();
    fillCategories();
    selectRow(grdCategories, 0);
    filling_ = false;
    grdCategories_Click();
    fillDue();
    grdCategories->setFocus();
}

void frmBudget::createControls()
{
    setObjectName(QStringLiteral("frmBudget"));
    setWindowTitle(QStringLiteral("Budget"));
    shell::setHelpContext(this, shell::HelpBudget);

    txtTotalBudget = named(new QLineEdit(this), "txtTotalBudget");
    lblSummary = named(new QLabel(this), "lblSummary");
    auto* top = new QHBoxLayout;
    auto* budgetLabel = new QLabel(QStringLiteral("Wedding &budget:"), this);
    budgetLabel->setBuddy(txtTotalBudget);
    top->addWidget(budgetLabel);
    top->addWidget(txtTotalBudget);
    top->addSpacing(16);
    top->addWidget(lblSummary, 1);

    lblDue = named(new QLabel(this), "lblDue");
    grdDue = newTable(this, "grdDue", {"Item", "Vendor", "Due", "Amount", "State"});
    cmdChart = named(new QPushButton(QStringLiteral("C&hart..."), this), "cmdChart");
    SSCommand1 = named(new QPushButton(QStringLiteral("Help"), this), "SSCommand1");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdChart);
    buttons->addStretch();
    buttons->addWidget(SSCommand1);
    buttons->addWidget(cmdClose);

    // Left: the categories over what falls due; right: the chosen category's items over the
    // chosen item's payments.
    auto* left = new QVBoxLayout;
    left->addLayout(createCategoryPanel(), 3);
    left->addWidget(lblDue);
    left->addWidget(grdDue, 2);
    auto* right = new QVBoxLayout;
    right->addLayout(createItemPanel(), 1);
    right->addLayout(createPaymentPanel(), 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 6);
    columns->addLayout(right, 5);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    for (QTableWidget* table : findChildren<QTableWidget*>())
        table->setMinimumHeight(90);
    // Tab goes through the window as it reads: the budget, the categories, the items, the
    // payments, what falls due, then the buttons.
    const std::vector<QWidget*> order = {txtTotalBudget, grdCategories,   txtPlanned, cmdNewCategory,
                                         grdItems,       cboItemCategory, cboVendor,  txtEstimate,
                                         cmdNewItem,     grdPayments,     cboKind,    txtDue,
                                         txtAmount,      cmdAddPayment,   cmdPaid,    cmdRemovePayment,
                                         grdDue,         cmdChart,        SSCommand1, cmdClose};
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(1180, 700);
}

QLayout* frmBudget::createCategoryPanel()
{
    grdCategories = newTable(this, "grdCategories",
                             {"Category", "Planned", "Estimated", "Actual", "Paid", "Owing", "Against plan"});
    txtPlanned = named(new QLineEdit(this), "txtPlanned");
    cmdNewCategory = named(new QPushButton(QStringLiteral("New &Category..."), this), "cmdNewCategory");
    auto* label = new QLabel(QStringLiteral("&Categories"), this);
    label->setBuddy(grdCategories);
    auto* plannedLabel = new QLabel(QStringLiteral("&Planned for this category:"), this);
    plannedLabel->setBuddy(txtPlanned);
    auto* row = new QHBoxLayout;
    row->addWidget(plannedLabel);
    row->addWidget(txtPlanned);
    row->addStretch();
    row->addWidget(cmdNewCategory);
    auto* panel = new QVBoxLayout;
    panel->addWidget(label);
    panel->addWidget(grdCategories, 1);
    panel->addLayout(row);
    return panel;
}

QLayout* frmBudget::createItemPanel()
{
    grdItems = newTable(this, "grdItems", {"Item", "Vendor", "Estimate", "Actual", "Owing"});
    cboItemCategory = named(new QComboBox(this), "cboItemCategory");
    cboVendor = named(new QComboBox(this), "cboVendor");
    txtEstimate = named(new QLineEdit(this), "txtEstimate");
    cmdNewItem = named(new QPushButton(QStringLiteral("New &Item..."), this), "cmdNewItem");
    auto* label = new QLabel(QStringLiteral("I&tems of the category"), this);
    label->setBuddy(grdItems);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Cat&egory:"), cboItemCategory);
    fields->addRow(QStringLiteral("&Vendor:"), cboVendor);
    fields->addRow(QStringLiteral("E&stimate:"), txtEstimate);
    auto* panel = new QVBoxLayout;
    panel->addWidget(label);
    panel->addWidget(grdItems, 1);
    auto* row = new QHBoxLayout;
    row->addLayout(fields, 1);
    row->addWidget(cmdNewItem, 0, Qt::AlignBottom);
    panel->addLayout(row);
    return panel;
}

QLayout* frmBudget::createPaymentPanel()
{
    grdPayments = newTable(this, "grdPayments", {"Payment", "Due", "Amount", "Paid on"});
    cboKind = named(new QComboBox(this), "cboKind");
    cboKind->addItems({QStringLiteral("Deposit"), QStringLiteral("Payment")});
    txtDue = named(new QLineEdit(this), "txtDue");
    txtDue->setPlaceholderText(shell::dateText(QDate(2027, 6, 30)));
    txtAmount = named(new QLineEdit(this), "txtAmount");
    cmdAddPayment = named(new QPushButton(QStringLiteral("&Add"), this), "cmdAddPayment");
    cmdPaid = named(new QPushButton(QStringLiteral("&Mark Paid"), this), "cmdPaid");
    cmdRemovePayment = named(new QPushButton(QStringLiteral("&Remove"), this), "cmdRemovePayment");
    auto* label = new QLabel(QStringLiteral("Pa&yments of the item"), this);
    label->setBuddy(grdPayments);
    auto* adding = new QHBoxLayout;
    adding->addWidget(cboKind);
    auto* dueLabel = new QLabel(QStringLiteral("&Due:"), this);
    dueLabel->setBuddy(txtDue);
    adding->addWidget(dueLabel);
    adding->addWidget(txtDue, 1);
    auto* amountLabel = new QLabel(QStringLiteral("A&mount:"), this);
    amountLabel->setBuddy(txtAmount);
    adding->addWidget(amountLabel);
    adding->addWidget(txtAmount, 1);
    adding->addWidget(cmdAddPayment);
    auto* marking = new QHBoxLayout;
    marking->addWidget(cmdPaid);
    marking->addWidget(cmdRemovePayment);
    marking->addStretch();
    auto* panel = new QVBoxLayout;
    panel->addWidget(label);
    panel->addWidget(grdPayments, 1);
    panel->addLayout(adding);
    panel->addLayout(marking);
    return panel;
}

void frmBudget::connectControls()
{
    connect(grdCategories, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!filling_)
            grdCategories_Click();
    });
    connect(grdItems, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!filling_)
            grdItems_Click();
    });
    connect(grdPayments, &QTableWidget::itemSelectionChanged, this, &frmBudget::grdPayments_Click);
    connect(txtTotalBudget, &QLineEdit::editingFinished, this, &frmBudget::txtTotalBudget_LostFocus);
    connect(txtPlanned, &QLineEdit::editingFinished, this, &frmBudget::txtPlanned_LostFocus);
    connect(txtEstimate, &QLineEdit::editingFinished, this, &frmBudget::txtEstimate_LostFocus);
    connect(cboItemCategory, &QComboBox::activated, this, &frmBudget::cboItemCategory_Click);
    connect(cboVendor, &QComboBox::activated, this, &frmBudget::cboVendor_Click);
    connect(cmdNewCategory, &QPushButton::clicked, this, &frmBudget::cmdNewCategory_Click);
    connect(cmdNewItem, &QPushButton::clicked, this, &frmBudget::cmdNewItem_Click);
    connect(cmdAddPayment, &QPushButton::clicked, this, &frmBudget::cmdAddPayment_Click);
    connect(cmdPaid, &QPushButton::clicked, this, &frmBudget::cmdPaid_Click);
    connect(cmdRemovePayment, &QPushButton::clicked, this, &frmBudget::cmdRemovePayment_Click);
    connect(cmdChart, &QPushButton::clicked, this, &frmBudget::cmdChart_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmBudget::SSCommand1_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmBudget::cmdClose_Click);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        controls::selectAllOnFocus(box);
}

void frmBudget::setToday(QDate today)
{
    today_ = today;
    fillDue();
}

void frmBudget::keyPressEvent(QKeyEvent* event)
{
    // Enter stores the box it was typed in (editingFinished) and never closes the window;
    // on a button it presses the button. Esc closes, as in every window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- filling ---------------------------------------------------------------------------

void frmBudget::Refresh_All()
{
    const qint64 category = keyOfRow(grdCategories, grdCategories->currentRow());
    // The payment to select again, if one is selected.
    const Payment* selected = selectedPayment();
    const bool hadPayment = selected != nullptr;
    const qint64 payment = hadPayment ? selected->id : 0;
    try {
        plan_ = loadPlan(shell::database());
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
        return;
    }
    filling_ = true;
    fillSummary();
    fillCategories();
    selectRow(grdCategories, rowOfKey(grdCategories, category));
    fillItems();
    selectRow(grdItems, rowOfKey(grdItems, itemKey_));
    itemKey_ = keyOfRow(grdItems, grdItems->currentRow());
    fillItemFields();
    fillPayments();
    if (hadPayment)
        selectRow(grdPayments, rowOfKey(grdPayments, payment));
    filling_ = false;
    grdPayments_Click();
    fillDue();
}

void frmBudget::fillSummary()
{
    const CategoryFigures total = totalOf(categoryFigures(plan_));
    if (!txtTotalBudget->hasFocus())
        txtTotalBudget->setText(moneyText(plan_.totalBudget));
    QString text = QStringLiteral("Planned %1 · Expected %2 · Paid %3 · Owing %4")
                       .arg(moneyText(total.planned), moneyText(total.expected), moneyText(total.paid),
                            moneyText(total.owing));
    if (plan_.totalBudget != Currency()) {
        const Currency left = plan_.totalBudget - total.expected;
        text += left < Currency() ? QStringLiteral(" · Over budget by %1").arg(moneyText(-left))
                                  : QStringLiteral(" · Left to plan %1").arg(moneyText(left));
    }
    lblSummary->setText(text);
}

void frmBudget::fillCategories()
{
    figures_ = categoryFigures(plan_);
    grdCategories->setRowCount(int(figures_.size()));
    for (int r = 0; r < int(figures_.size()); ++r) {
        const CategoryFigures& row = figures_[size_t(r)];
        setRow(grdCategories, r,
               {row.name, moneyText(row.planned), moneyText(row.estimated), moneyText(row.actual),
                moneyText(row.paid), moneyText(row.owing), overUnderText(row)},
               1, row.category.value_or(WithoutCategory));
        if (row.overPlan())
            grdCategories->item(r, 6)->setForeground(Qt::darkRed);
    }
    cboItemCategory->clear();
    cboItemCategory->addItem(uncategorisedName(), WithoutCategory);
    for (const Category& category : plan_.categories)
        cboItemCategory->addItem(category.name, category.id);
    cboVendor->clear();
    cboVendor->addItem(QStringLiteral("(No vendor)"), qint64(0));
    for (const auto& [key, name] : plan_.vendors)
        cboVendor->addItem(name, key);
    fitColumns(grdCategories);
}

void frmBudget::fillItems()
{
    std::map<qint64, QString> vendors(plan_.vendors.begin(), plan_.vendors.end());
    const CategoryFigures* row = selectedCategory();
    const std::vector<const Item*> items = row ? itemsOf(plan_, *row) : std::vector<const Item*>{};
    grdItems->setRowCount(int(items.size()));
    for (int r = 0; r < int(items.size()); ++r) {
        const Item& item = *items[size_t(r)];
        setRow(grdItems, r,
               {item.description, item.vendor ? vendors[*item.vendor] : QString(),
                item.estimate ? moneyText(*item.estimate) : QString(), moneyText(item.total),
                moneyText(item.owing)},
               2, item.key);
    }
    if (const CategoryFigures* category = selectedCategory(); category && !txtPlanned->hasFocus())
        txtPlanned->setText(category->category ? moneyText(category->planned) : QString());
    txtPlanned->setEnabled(row && row->category);
    fitColumns(grdItems);
}

void frmBudget::fillItemFields()
{
    const Item* item = selectedItem();
    for (QWidget* field : std::initializer_list<QWidget*>{
             cboItemCategory, cboVendor, txtEstimate, grdPayments, cboKind, txtDue, txtAmount, cmdAddPayment})
        field->setEnabled(item != nullptr);
    if (!item) {
        txtEstimate->clear();
        return;
    }
    const int category = cboItemCategory->findData(item->category.value_or(WithoutCategory));
    cboItemCategory->setCurrentIndex(category < 0 ? 0 : category);
    const int vendor = cboVendor->findData(item->vendor.value_or(0));
    cboVendor->setCurrentIndex(vendor < 0 ? 0 : vendor);
    if (!txtEstimate->hasFocus())
        txtEstimate->setText(item->estimate ? moneyText(*item->estimate) : QString());
}

void frmBudget::fillPayments()
{
    const Item* item = selectedItem();
    const std::vector<const Payment*> payments =
        item ? paymentsOf(plan_, item->key) : std::vector<const Payment*>{};
    grdPayments->setRowCount(int(payments.size()));
    for (int r = 0; r < int(payments.size()); ++r) {
        const Payment& p = *payments[size_t(r)];
        setRow(grdPayments, r,
               {p.deposit ? QStringLiteral("Deposit") : QStringLiteral("Payment"), shell::dateText(p.due),
                moneyText(p.amount), p.paid ? shell::dateText(p.paidOn) : QStringLiteral("not paid")},
               2, p.id);
    }
    cmdPaid->setEnabled(!payments.empty());
    cmdRemovePayment->setEnabled(!payments.empty());
    fitColumns(grdPayments);
}

void frmBudget::fillDue()
{
    const std::vector<DuePayment> due = paymentsDue(plan_, today_);
    lblDue->setText(QStringLiteral("Due in the next %1 days and overdue (still to pay this month: %2)")
                        .arg(DueSoonDays)
                        .arg(moneyText(toPayThisMonth(plan_, today_))));
    grdDue->setRowCount(int(due.size()));
    for (int r = 0; r < int(due.size()); ++r) {
        const DuePayment& d = due[size_t(r)];
        setRow(grdDue, r,
               {d.item, d.vendor, shell::dateText(d.payment.due), moneyText(d.payment.amount),
                stateText(d.state)},
               3, d.payment.id);
        grdDue->item(r, 4)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (d.state == PaymentState::Overdue)
            grdDue->item(r, 4)->setForeground(Qt::darkRed);
    }
    fitColumns(grdDue);
}

const CategoryFigures* frmBudget::selectedCategory() const
{
    const int row = grdCategories->currentRow();
    return row < 0 || row >= int(figures_.size()) ? nullptr : &figures_[size_t(row)];
}

namespace {

// The entry of a list that the selected row of a table stands for, by the key in its first cell.
template <typename Entry, typename KeyOf>
const Entry* entryOfRow(const QTableWidget* table, const std::vector<Entry>& list, KeyOf keyOf)
{
    if (table->currentRow() < 0)
        return nullptr;
    const qint64 key = keyOfRow(table, table->currentRow());
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const Entry& e) { return keyOf(e) == key; });
    return found == list.end() ? nullptr : &*found;
}

}  // namespace

const Item* frmBudget::selectedItem() const
{
    return entryOfRow(grdItems, plan_.items, [](const Item& item) { return item.key; });
}

const Payment* frmBudget::selectedPayment() const
{
    return entryOfRow(grdPayments, plan_.payments, [](const Payment& payment) { return payment.id; });
}

// ---- events ----------------------------------------------------------------------------

void frmBudget::grdCategories_Click()
{
    filling_ = true;
    fillItems();
    selectRow(grdItems, -1);
    filling_ = false;
    grdItems_Click();
}

void frmBudget::grdItems_Click()
{
    itemKey_ = keyOfRow(grdItems, grdItems->currentRow());
    filling_ = true;
    fillItemFields();
    fillPayments();
    selectRow(grdPayments, -1);
    filling_ = false;
    grdPayments_Click();
}

std::optional<Currency> frmBudget::typedAmount(QLineEdit* box, const QString& what, bool emptyAllowed,
                                               bool* isEmpty)
{
    const QString text = box->text().trimmed();
    if (isEmpty)
        *isEmpty = text.isEmpty();
    if (text.isEmpty() && emptyAllowed)
        return Currency();
    const QVariant typed = controls::parseCell(text, store::FieldType::Currency);
    QString refusal;
    if (typed.metaType() != QMetaType::fromType<Currency>())
        refusal =
            QStringLiteral("%1 takes %2.").arg(what, controls::expectedValueText(store::FieldType::Currency));
    else if (typed.value<Currency>() < Currency())
        refusal = QStringLiteral("%1 cannot be less than 0.").arg(what);
    if (refusal.isEmpty())
        return typed.value<Currency>();
    controls::MsgBox(QStringLiteral("Not a valid value"), controls::mb::OKOnly, ProgramTitle, this,
                     refusal + QStringLiteral(" Nothing was changed."));
    box->setFocus();
    return std::nullopt;
}

template <typename Change>
bool frmBudget::change(Change&& run)
{
    bool done = false;
    try {
        run(shell::database());
        done = true;
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
    }
    Refresh_All();
    return done;
}

void frmBudget::txtTotalBudget_LostFocus()
{
    if (!txtTotalBudget->isModified())
        return;
    txtTotalBudget->setModified(false);
    if (const auto amount = typedAmount(txtTotalBudget, QStringLiteral("The wedding budget"), true))
        change([&](store::Database& db) { setTotalBudget(db, *amount); });
    txtTotalBudget->setText(moneyText(plan_.totalBudget));
}

void frmBudget::txtPlanned_LostFocus()
{
    const CategoryFigures* row = selectedCategory();
    if (!txtPlanned->isModified() || !row || !row->category)
        return;
    txtPlanned->setModified(false);
    const qint64 category = *row->category;
    if (const auto amount = typedAmount(txtPlanned, QStringLiteral("Planned"), true))
        change([&](store::Database& db) { setCategoryPlanned(db, category, *amount); });
    if (const CategoryFigures* now = selectedCategory())
        txtPlanned->setText(moneyText(now->planned));
}

void frmBudget::cboItemCategory_Click()
{
    const qint64 chosen = cboItemCategory->currentData().toLongLong();
    changeItem([&](Item& item) {
        item.category = chosen == WithoutCategory ? std::nullopt : std::optional<qint64>(chosen);
    });
}

void frmBudget::cboVendor_Click()
{
    const qint64 chosen = cboVendor->currentData().toLongLong();
    changeItem([&](Item& item) { item.vendor = chosen == 0 ? std::nullopt : std::optional<qint64>(chosen); });
}

void frmBudget::changeItem(const std::function<void(Item&)>& edit)
{
    const Item* item = selectedItem();
    if (!item)
        return;
    Item changed = *item;
    edit(changed);
    change([&](store::Database& db) {
        setItemPlan(db, changed.key, changed.category, changed.estimate, changed.vendor);
    });
}

void frmBudget::txtEstimate_LostFocus()
{
    if (!txtEstimate->isModified() || !selectedItem())
        return;
    txtEstimate->setModified(false);
    bool empty = false;
    if (const auto amount = typedAmount(txtEstimate, QStringLiteral("Estimate"), true, &empty))
        changeItem([&](Item& item) { item.estimate = empty ? std::nullopt : amount; });
    if (const Item* now = selectedItem(); now && !txtEstimate->hasFocus())
        txtEstimate->setText(now->estimate ? moneyText(*now->estimate) : QString());
}

namespace {

// A name typed into an input box, trimmed; empty when cancelled or left empty.
QString askName(const QString& prompt, const QString& title, QWidget* owner)
{
    bool cancelled = false;
    const QString typed = controls::InputBox(prompt, title, QString(), &cancelled, owner).trimmed();
    return cancelled ? QString() : typed;
}

}  // namespace

void frmBudget::cmdNewCategory_Click()
{
    const QString name =
        askName(QStringLiteral("Name of the new category:"), QStringLiteral("New Category"), this);
    if (name.isEmpty())
        return;
    qint64 added = 0;
    if (change([&](store::Database& db) { added = addCategory(db, name, Currency()); }))
        selectRow(grdCategories, rowOfKey(grdCategories, added));
}

void frmBudget::cmdNewItem_Click()
{
    const QString description =
        askName(QStringLiteral("Description of the new item:"), QStringLiteral("New Item"), this);
    if (description.isEmpty())
        return;
    NewExpense expense;
    expense.description = description;
    if (const CategoryFigures* row = selectedCategory())
        expense.category = row->category;
    change([&](store::Database& db) { itemKey_ = addExpense(db, expense); });
    txtEstimate->setFocus();
}

void frmBudget::cmdAddPayment_Click()
{
    const Item* item = selectedItem();
    if (!item)
        return;
    Payment payment;
    payment.expense = item->key;
    payment.deposit = cboKind->currentIndex() == 0;
    const QString dueText = txtDue->text().trimmed();
    payment.due = shell::parseDateText(dueText);
    if (!dueText.isEmpty() && !payment.due.isValid()) {
        controls::MsgBox(
            QStringLiteral("Not a valid value"), controls::mb::OKOnly, ProgramTitle, this,
            QStringLiteral("Due takes a date such as %1. Nothing was changed.").arg(shell::dateText(today_)));
        txtDue->setFocus();
        return;
    }
    const auto amount = typedAmount(txtAmount, QStringLiteral("Amount"), false);
    if (!amount)
        return;
    payment.amount = *amount;
    qint64 added = 0;
    if (change([&](store::Database& db) { added = addPayment(db, payment); })) {
        selectRow(grdPayments, rowOfKey(grdPayments, added));
        txtDue->clear();
        txtAmount->clear();
    }
}

void frmBudget::grdPayments_Click()
{
    const Payment* payment = selectedPayment();
    cmdPaid->setText(payment && payment->paid ? QStringLiteral("&Mark Unpaid")
                                              : QStringLiteral("&Mark Paid"));
}

void frmBudget::cmdPaid_Click()
{
    const Payment* payment = selectedPayment();
    if (!payment)
        return;
    const qint64 id = payment->id;
    const bool paid = !payment->paid;
    change([&](store::Database& db) { setPaymentPaid(db, id, paid, today_); });
}

void frmBudget::cmdRemovePayment_Click()
{
    const Payment* payment = selectedPayment();
    if (!payment)
        return;
    const qint64 id = payment->id;
    if (controls::MsgBox(QStringLiteral("Remove this payment?"),
                         controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2,
                         QStringLiteral("Remove Payment"), this) != controls::mb::Yes)
        return;
    change([&](store::Database& db) { removePayment(db, id); });
}

void frmBudget::cmdChart_Click()
{
    showBudgetChart(plan_, today_, this);
}

void frmBudget::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpBudget);
}

void frmBudget::cmdClose_Click()
{
    close();
}
