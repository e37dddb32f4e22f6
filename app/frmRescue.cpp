#include "app/frmRescue.h"

#include "shell/Windows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmRescue::frmRescue(const QString& reason, bool canRepair, bool hasBackups, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRescue"));
    setWindowTitle(QStringLiteral("Orvane"));
    QString text = QStringLiteral("The wedding file could not be opened:\n%1\n\n").arg(reason);
    text += canRepair ? QStringLiteral(
                            "You can try to repair it, go back to a backup, or quit. Before a repair "
                            "or a restore, the file as it is now is kept as a backup.")
                      : QStringLiteral(
                            "You can go back to a backup, or quit. Before a restore, the file as it "
                            "is now is kept as a backup.");
    lblExplain = new QLabel(text);
    lblExplain->setObjectName(QStringLiteral("lblExplain"));
    lblExplain->setWordWrap(true);
    cmdRepair = new QPushButton(QStringLiteral("&Repair the File"));
    cmdRepair->setObjectName(QStringLiteral("cmdRepair"));
    cmdRepair->setEnabled(canRepair);
    cmdRestore = new QPushButton(QStringLiteral("Restore a &Backup..."));
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setEnabled(hasBackups);
    cmdQuit = new QPushButton(QStringLiteral("&Quit"));
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));
    connect(cmdRepair, &QPushButton::clicked, this, [this] { done(Repair); });
    connect(cmdRestore, &QPushButton::clicked, this, [this] { done(Restore); });
    connect(cmdQuit, &QPushButton::clicked, this, [this] { done(Quit); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRepair);
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdQuit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplain);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    shell::centreOnScreen(this);
}
