// The seating rules the solver keeps: parties to keep together or apart, tables reserved
// for a side or for some parties, and the preferences (each side together; tables filled
// evenly or as few tables as possible). Every change is saved at once.
#pragma once

#include "seating/SeatPlan.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmSeatingRules : public QDialog {
    Q_OBJECT
public:
    explicit frmSeatingRules(QWidget* parent = nullptr);
    void Form_Load();  // throws store::StoreError

    void cmdAdd_Click();
    void cmdRemove_Click();

    QListWidget* lstRules = nullptr;
    QComboBox* cboKind = nullptr;       // Keep together, Keep apart, Reserve a table
    QListWidget* lstParties = nullptr;  // checkable
    QComboBox* cboTable = nullptr;
    QComboBox* cboFor = nullptr;  // the chosen parties, Bride, Groom, Both
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QCheckBox* chkSides = nullptr;
    QRadioButton* optNoBalance = nullptr;
    QRadioButton* optEvenly = nullptr;
    QRadioButton* optFewest = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void buildControls();
    void fillRules();
    void kindChanged();
    void savePreferences();
    std::vector<seating::PartyKey> checkedParties() const;

    seating::SeatProblem problem_;  // parties and tables, for names
    bool loading_ = false;
};
