// Offered when the wedding file cannot be opened at start-up: repair it, restore a backup,
// or quit.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class frmRescue : public QDialog {
    Q_OBJECT
public:
    enum Choice { Quit = 0, Repair = 1, Restore = 2 };
    // canRepair: the file exists (a missing file can only be restored); hasBackups: there is
    // something to restore.
    frmRescue(const QString& reason, bool canRepair, bool hasBackups, QWidget* parent = nullptr);

    QLabel* lblExplain;
    QPushButton* cmdRepair;
    QPushButton* cmdRestore;
    QPushButton* cmdQuit;
};
