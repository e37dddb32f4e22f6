#include "app/frmSplash.h"

#include "app/Version.h"
#include "shell/Artwork.h"
#include "shell/CaptionLabel.h"
#include "shell/Windows.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
QLabel* makeLabel(const QString& name, const QString& text = QString())
{
    auto* label = new shell::CaptionLabel(text);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, QColor(0x5a, 0x2a, 0x3a));
    setPalette(ink);

    Picture1 = makeLabel(QStringLiteral("Picture1"));
    Picture1->setPixmap(shell::ringsPicture(80));
    Picture2 = makeLabel(QStringLiteral("Picture2"), QStringLiteral("Orvane"));
    shell::setTextLook(Picture2, {24, true, true});  // the sizes of the main window's captions
    Picture3 = makeLabel(QStringLiteral("Picture3"));
    Picture3->setPixmap(shell::ornamentLine(220));
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("The Wedding Planner"));
    shell::setTextLook(Label1, {15, true, true});
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Loading your wedding..."));
    Label3 = makeLabel(QStringLiteral("Label3"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 24);
    layout->addWidget(Picture1);
    layout->addWidget(Picture2);
    layout->addWidget(Picture3);
    layout->addWidget(Label1);
    layout->addSpacing(12);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    setFixedSize(420, 330);
    Form_Load();
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    shell::paintCard(p, rect());
}

void frmSplash::Form_Load()
{
    Label3->setText(app::splashVersionText(app::programVersion()));
    shell::centreOnScreen(this);
}
