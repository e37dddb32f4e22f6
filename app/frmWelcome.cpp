#include "app/frmWelcome.h"

#include "app/Artwork.h"
#include "app/Windows.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmWelcome::frmWelcome(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmWelcome"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("frmWelcome { background: #fff8f3; border: 2px solid #c9a048; }"
                                 "QLabel { color: #5a2a3a; }"));

    Picture1 = new QLabel;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(app::ringsPicture(80));
    Picture1->setAlignment(Qt::AlignCenter);
    Label1 = new QLabel(QStringLiteral("Congratulations"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("font-family: serif; font-size: 24pt; font-style: italic;"));
    Label2 = new QLabel;
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setStyleSheet(QStringLiteral("font-size: 11pt;"));
    Command1 = new QPushButton(QStringLiteral("Start Planning"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setMinimumWidth(140);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(Picture1);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(10);
    layout->addWidget(Command1, 0, Qt::AlignCenter);
    setFixedWidth(440);

    connect(Command1, &QPushButton::clicked, this, &frmWelcome::Command1_Click);
    Form_Load();
}

QString frmWelcome::welcomeText()
{
    const QChar lf(10);
    return QStringLiteral("On Your Engagement") + lf + QStringLiteral("and") + lf +
           QStringLiteral("for deciding to take full control over your wedding plans with the Orvane planner.") +
           lf + lf + QStringLiteral("Now let's get down to business!");
}

void frmWelcome::Form_Load()
{
    Label2->setText(welcomeText());
    adjustSize();
    app::centreOnScreen(this);
}

void frmWelcome::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Command1->setFocus();  // Enter starts planning
}

void frmWelcome::Command1_Click() { accept(); }
