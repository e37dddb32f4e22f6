#include "app/frmWelcome.h"

#include "shell/Artwork.h"
#include "shell/Help.h"
#include "shell/Windows.h"

#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

frmWelcome::frmWelcome(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmWelcome"));

    shell::setHelpContext(this, shell::HelpOfOwner);
    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, QColor(0x5a, 0x2a, 0x3a));
    setPalette(ink);

    Picture1 = new QLabel;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(shell::ringsPicture(80));
    Picture1->setAlignment(Qt::AlignCenter);
    Label1 = new QLabel(QStringLiteral("Congratulations"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    shell::setTextLook(Label1, {24, true, true});
    Label2 = new QLabel;
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    shell::setTextLook(Label2, {11});
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
           QStringLiteral(
               "for deciding to take full control over your wedding plans with the Orvane planner.") +
           lf + lf + QStringLiteral("Now let's get down to business!");
}

void frmWelcome::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    shell::paintCard(p, rect());
}

void frmWelcome::Form_Load()
{
    Label2->setText(welcomeText());
    // A wrapped label needs its height for the width it gets, or lines are cut off.
    const QMargins m = layout()->contentsMargins();
    Label2->setMinimumHeight(Label2->heightForWidth(width() - m.left() - m.right()));
    adjustSize();
    shell::centreOnScreen(this);
}

void frmWelcome::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Command1->setFocus();  // Enter starts planning
}

void frmWelcome::Command1_Click()
{
    accept();
}
