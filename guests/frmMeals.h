// The couple's menu: the meal choices a member can have, in their order, each with an
// optional short mark for place cards. Opened from the guest window's Members tab.
//
//     if (guests::editMeals(this)) reloadTheMeals();
#pragma once

#include "guests/MemberRules.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

namespace guests {

class frmMeals : public QDialog {
    Q_OBJECT
public:
    explicit frmMeals(QWidget* parent = nullptr);

    // The meals as the table shows them (rows without a name are left out).
    std::vector<Meal> shownMeals() const;
    // Stores the meals; false (after a message) when they cannot be stored.
    bool save();

    QTableWidget* grdMeals;
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void addRow(const Meal& meal);
    void moveRow(int step);
};

// Shows the menu modally; true when it was changed.
bool editMeals(QWidget* parent);

}  // namespace guests
