#include "app/frmRestore.h"

#include "shell/Windows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QStringList backupColumns(const store::backup::Entry& entry)
{
    const QLocale locale;
    const auto count = [&](int n) { return n < 0 ? QStringLiteral("cannot be read") : locale.toString(n); };
    return {locale.toString(entry.made, QLocale::ShortFormat),
            locale.formattedDataSize(entry.size, 1, QLocale::DataSizeTraditionalFormat),
            count(entry.guestParties), count(entry.tasks), store::backup::reasonText(entry.reason)};
}

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
    lstBackups->setHeaderLabels({QStringLiteral("Made"), QStringLiteral("Size"),
                                 QStringLiteral("Guest Parties"), QStringLiteral("Tasks"),
                                 QStringLiteral("Why")});
    for (const store::backup::Entry& e : backups_) {
        auto* item = new QTreeWidgetItem(lstBackups, backupColumns(e));
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
