#include "shell/frmTip.h"

#include "shell/Artwork.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "shell/Windows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmTip::frmTip(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Orvane Tip"));

    shell::setHelpContext(this, shell::HelpOfOwner);
    Picture1 = new QLabel;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(shell::tipPicture());
    Picture1->setAlignment(Qt::AlignTop);
    Label1 = new QLabel(QStringLiteral("Did you know..."));
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    heading.setBold(true);
    Label1->setFont(heading);
    lblTipText = new QLabel;
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblTipText->setMinimumSize(320, 110);
    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(Label1);
    text->addWidget(lblTipText, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(Picture1);
    body->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    Form_Load();
}

void frmTip::Form_Load()
{
    adjustSize();
    shell::centreOnScreen(this);
    // With no tips at all the label keeps its empty design text; a number past the end
    // of the list shows nothing rather than failing.
    if (!shell::program().TipList.isEmpty())
        lblTipText->setText(shell::tipText(shell::program().TipNumber));
}

void frmTip::cmdOK_Click()
{
    accept();
}
