// The list of backups of the wedding file, to pick one to restore.
#pragma once

#include "store/Backup.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

class frmRestore : public QDialog {
    Q_OBJECT
public:
    // Lists the backups given (newest first); the newest is selected.
    frmRestore(std::vector<store::backup::Entry> backups, QWidget* parent = nullptr);

    // The backup chosen with Restore (or a double click); empty when none.
    QString chosenPath() const;

    QTreeWidget* lstBackups;
    QPushButton* cmdRestore;
    QPushButton* cmdCancel;
    QLabel* lblExplain;

private:
    std::vector<store::backup::Entry> backups_;
};
