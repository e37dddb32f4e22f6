#include "seating/frmSeatingRules.h"
#include "controls/Named.h"

#include "controls/Dialogs.h"
#include "seating/SeatPlanStore.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "store/Store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace seating;

namespace {

constexpr int KeyRole = Qt::UserRole;
const QString Title = QStringLiteral("Seating Rules");

using controls::named;

}  // namespace

frmSeatingRules::frmSeatingRules(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSeatingRules"));
    setWindowTitle(Title);
    buildControls();
    resize(760, 520);
}

void frmSeatingRules::buildControls()
{
    lstRules = named(new QListWidget(this), "lstRules");
    cmdRemove = named(new QPushButton(QStringLiteral("Remove Rule"), this), "cmdRemove");
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Rules"), this));
    left->addWidget(lstRules, 1);
    left->addWidget(cmdRemove);

    auto* add = new QGroupBox(QStringLiteral("New rule"), this);
    cboKind = named(new QComboBox(add), "cboKind");
    cboKind->addItems(
        {QStringLiteral("Keep together"), QStringLiteral("Keep apart"), QStringLiteral("Reserve a table")});
    cboTable = named(new QComboBox(add), "cboTable");
    cboFor = named(new QComboBox(add), "cboFor");
    cboFor->addItems({QStringLiteral("the parties ticked below"), QStringLiteral("Bride"),
                      QStringLiteral("Groom"), QStringLiteral("Both")});
    lstParties = named(new QListWidget(add), "lstParties");
    cmdAdd = named(new QPushButton(QStringLiteral("Add Rule"), add), "cmdAdd");
    auto* form = new QFormLayout(add);
    form->addRow(QStringLiteral("Rule:"), cboKind);
    form->addRow(QStringLiteral("Table:"), cboTable);
    form->addRow(QStringLiteral("Reserved for:"), cboFor);
    form->addRow(QStringLiteral("Parties:"), lstParties);
    form->addRow(QString(), cmdAdd);

    auto* prefs = new QGroupBox(QStringLiteral("Preferences"), this);
    chkSides = named(new QCheckBox(QStringLiteral("Seat each side together"), prefs), "chkSides");
    optNoBalance = named(new QRadioButton(QStringLiteral("No preference for how full tables are"), prefs),
                         "optNoBalance");
    optEvenly = named(new QRadioButton(QStringLiteral("Fill tables evenly"), prefs), "optEvenly");
    optFewest = named(new QRadioButton(QStringLiteral("Use as few tables as possible"), prefs), "optFewest");
    auto* prefLayout = new QVBoxLayout(prefs);
    for (QWidget* w : std::initializer_list<QWidget*>{chkSides, optNoBalance, optEvenly, optFewest})
        prefLayout->addWidget(w);

    auto* right = new QVBoxLayout;
    right->addWidget(add, 1);
    right->addWidget(prefs);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    auto* help = named(new QPushButton(QStringLiteral("Help"), this), "cmdHelp");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(help);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    for (QPushButton* b : {cmdAdd, cmdRemove, cmdClose, help})
        b->setAutoDefault(false);

    connect(cboKind, &QComboBox::currentIndexChanged, this, &frmSeatingRules::kindChanged);
    connect(cboFor, &QComboBox::currentIndexChanged, this, &frmSeatingRules::kindChanged);
    connect(cmdAdd, &QPushButton::clicked, this, &frmSeatingRules::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmSeatingRules::cmdRemove_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] { shell::showHelp(this, shell::HelpSeatingRules); });
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{chkSides, optNoBalance, optEvenly, optFewest})
        connect(b, &QAbstractButton::toggled, this, &frmSeatingRules::savePreferences);
}

void frmSeatingRules::Form_Load()
{
    loading_ = true;
    problem_ = loadProblem(shell::database(), true);
    cboTable->clear();
    for (const SeatTable& table : problem_.tables)
        cboTable->addItem(
            QStringLiteral("%1 (No. %2, %3 seats)").arg(table.name).arg(table.number).arg(table.seats),
            table.key);
    lstParties->clear();
    std::vector<SeatParty> parties = problem_.parties;
    std::sort(parties.begin(), parties.end(), [](const SeatParty& a, const SeatParty& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const SeatParty& party : parties) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 (%2, %3)").arg(party.name, party.side).arg(party.people), lstParties);
        item->setData(KeyRole, party.key);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    const SeatPreferences prefs = problem_.preferences;
    chkSides->setChecked(prefs.sidesTogether);
    optEvenly->setChecked(prefs.balance == Balance::FillEvenly);
    optFewest->setChecked(prefs.balance == Balance::FewestTables);
    optNoBalance->setChecked(prefs.balance == Balance::None);
    fillRules();
    kindChanged();
    loading_ = false;
}

void frmSeatingRules::fillRules()
{
    lstRules->clear();
    problem_.rules = loadRules(shell::database());
    for (const SeatRule& rule : problem_.rules) {
        auto* item = new QListWidgetItem(describeRule(rule, problem_), lstRules);
        item->setData(KeyRole, rule.id);
    }
}

void frmSeatingRules::kindChanged()
{
    const bool reserve = cboKind->currentIndex() == 2;
    cboTable->setEnabled(reserve);
    cboFor->setEnabled(reserve);
    lstParties->setEnabled(!reserve || cboFor->currentIndex() == 0);
}

std::vector<PartyKey> frmSeatingRules::checkedParties() const
{
    std::vector<PartyKey> keys;
    for (int i = 0; i < lstParties->count(); ++i)
        if (lstParties->item(i)->checkState() == Qt::Checked)
            keys.push_back(lstParties->item(i)->data(KeyRole).toLongLong());
    return keys;
}

void frmSeatingRules::cmdAdd_Click()
{
    SeatRule rule;
    rule.kind = RuleKind(cboKind->currentIndex());
    if (rule.kind == RuleKind::Reserved) {
        if (cboTable->currentIndex() < 0) {
            controls::MsgBox(
                QStringLiteral(
                    "There are no tables to reserve yet. Add tables in the seating manager first."),
                controls::mb::OKOnly, Title, this);
            return;
        }
        rule.table = cboTable->currentData().toLongLong();
        if (cboFor->currentIndex() > 0)
            rule.side = cboFor->currentText();
    }
    if (rule.side.isEmpty())
        rule.parties = checkedParties();
    const size_t needed = rule.kind == RuleKind::Reserved ? 1 : 2;
    if (rule.side.isEmpty() && rule.parties.size() < needed) {
        controls::MsgBox(needed == 1 ? QStringLiteral("Tick the parties the table is reserved for.")
                                     : QStringLiteral("Tick at least two parties for this rule."),
                         controls::mb::OKOnly, Title, this);
        return;
    }
    try {
        addRule(shell::database(), rule);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
        return;
    }
    for (int i = 0; i < lstParties->count(); ++i)
        lstParties->item(i)->setCheckState(Qt::Unchecked);
    fillRules();
}

void frmSeatingRules::cmdRemove_Click()
{
    QListWidgetItem* item = lstRules->currentItem();
    if (!item || !item->isSelected()) {
        controls::MsgBox(QStringLiteral("Select the rule to remove in the list of rules."),
                         controls::mb::OKOnly, Title, this);
        return;
    }
    try {
        removeRule(shell::database(), item->data(KeyRole).toLongLong());
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    fillRules();
}

void frmSeatingRules::savePreferences()
{
    if (loading_)
        return;
    SeatPreferences prefs;
    prefs.sidesTogether = chkSides->isChecked();
    prefs.balance = optEvenly->isChecked()   ? Balance::FillEvenly
                    : optFewest->isChecked() ? Balance::FewestTables
                                             : Balance::None;
    try {
        seating::savePreferences(shell::database(), prefs);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
}
