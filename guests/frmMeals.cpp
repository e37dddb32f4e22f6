#include "guests/frmMeals.h"

#include "controls/Dialogs.h"
#include "controls/Named.h"
#include "guests/MemberStore.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace guests {

using controls::named;

frmMeals::frmMeals(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMeals"));
    setWindowTitle(QStringLiteral("Menu"));
    grdMeals = named(new QTableWidget(0, 2), QStringLiteral("grdMeals"));
    grdMeals->setHorizontalHeaderLabels({QStringLiteral("Meal"), QStringLiteral("Mark")});
    grdMeals->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grdMeals->verticalHeader()->hide();
    grdMeals->setSelectionBehavior(QAbstractItemView::SelectRows);
    cmdAdd = named(new QPushButton(QStringLiteral("&Add")), QStringLiteral("cmdAdd"));
    cmdRemove = named(new QPushButton(QStringLiteral("&Remove")), QStringLiteral("cmdRemove"));
    cmdUp = named(new QPushButton(QStringLiteral("Move &Up")), QStringLiteral("cmdUp"));
    cmdDown = named(new QPushButton(QStringLiteral("Move &Down")), QStringLiteral("cmdDown"));
    cmdOK = named(new QPushButton(QStringLiteral("OK")), QStringLiteral("cmdOK"));
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), QStringLiteral("cmdCancel"));
    cmdOK->setDefault(true);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdRemove, cmdUp, cmdDown})
        side->addWidget(b);
    side->addStretch(1);
    side->addWidget(cmdOK);
    side->addWidget(cmdCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(grdMeals, 1);
    layout->addLayout(side);
    resize(420, 300);

    try {
        for (const Meal& meal : loadMeals(shell::database()))
            addRow(meal);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    connect(cmdAdd, &QPushButton::clicked, this, [this] {
        addRow({});
        grdMeals->setCurrentCell(grdMeals->rowCount() - 1, 0);
        grdMeals->editItem(grdMeals->currentItem());
    });
    connect(cmdRemove, &QPushButton::clicked, this, [this] {
        if (grdMeals->currentRow() >= 0)
            grdMeals->removeRow(grdMeals->currentRow());
    });
    connect(cmdUp, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    shell::setHelpContext(this, shell::HelpMembers);
}

void frmMeals::addRow(const Meal& meal)
{
    const int row = grdMeals->rowCount();
    grdMeals->insertRow(row);
    auto* name = new QTableWidgetItem(meal.name);
    name->setData(Qt::UserRole, meal.id);
    grdMeals->setItem(row, 0, name);
    grdMeals->setItem(row, 1, new QTableWidgetItem(meal.mark));
}

void frmMeals::moveRow(int step)
{
    const int row = grdMeals->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= grdMeals->rowCount())
        return;
    for (int c = 0; c < 2; ++c) {
        QTableWidgetItem* a = grdMeals->takeItem(row, c);
        QTableWidgetItem* b = grdMeals->takeItem(to, c);
        grdMeals->setItem(row, c, b);
        grdMeals->setItem(to, c, a);
    }
    grdMeals->setCurrentCell(to, grdMeals->currentColumn());
}

std::vector<Meal> frmMeals::shownMeals() const
{
    std::vector<Meal> meals;
    for (int row = 0; row < grdMeals->rowCount(); ++row) {
        const QTableWidgetItem* name = grdMeals->item(row, 0);
        const QTableWidgetItem* mark = grdMeals->item(row, 1);
        if (!name || name->text().trimmed().isEmpty())
            continue;
        meals.push_back({name->data(Qt::UserRole).toLongLong(), name->text().trimmed(),
                         mark ? mark->text().trimmed().left(6) : QString()});
    }
    return meals;
}

bool frmMeals::save()
{
    // A name still being typed counts: leaving the cell hands it to the table.
    grdMeals->setCurrentIndex(QModelIndex());
    const std::vector<Meal> meals = shownMeals();
    for (size_t i = 0; i < meals.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (meals[i].name.compare(meals[j].name, Qt::CaseInsensitive) == 0) {
                controls::MsgBox(
                    QStringLiteral("The menu has \"%1\" twice. Each meal needs a name of its own.")
                        .arg(meals[i].name),
                    controls::mb::OKOnly | controls::mb::Exclamation, QStringLiteral("Menu"), this);
                return false;
            }
    try {
        saveMeals(shell::database(), meals);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
        return false;
    }
    return true;
}

bool editMeals(QWidget* parent)
{
    frmMeals dialog(parent);
    return controls::ShowModal(&dialog) == QDialog::Accepted;
}

}  // namespace guests
