#include "app/frmRestore.h"

#include "shell/Windows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmRestore::frmRestore(std::vector<store::backup::Entry> backups, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups))
{
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Restore from Backup"));
    lblExplain = new QLabel(
        QStringLiteral("Choose the backup to go back to. The wedding file as it is now is kept as a backup "
                       "first, so you can come back to it."));
    lblExplain->setWordWrap(true);
    lstBackups = new QTreeWidget;
    lstBackups->setObjectName(QStringLiteral("lstBackups"));
    lstBackups->setRootIsDecorated(false);
    lstBackups->setHeaderLabels(store::backup::columnTitles());
    for (const store::backup::Entry& e : backups_) {
        auto* item = new QTreeWidgetItem(lstBackups, store::backup::columns(e));
        for (int c = 1; c <= 3; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    lstBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!backups_.empty())
        lstBackups->setCurrentItem(lstBackups->topLevelItem(0));

    cmdRestore = new QPushButton(QStringLiteral("&Restore"));
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setEnabled(!backups_.empty());
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdRestore, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstBackups, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplain);
    layout->addWidget(lstBackups);
    layout->addLayout(buttons);
    resize(640, 360);
    shell::centreOnScreen(this);
}

QString frmRestore::chosenPath() const
{
    const int row = lstBackups->indexOfTopLevelItem(lstBackups->currentItem());
    return row >= 0 && row < int(backups_.size()) ? backups_[size_t(row)].path : QString();
}
