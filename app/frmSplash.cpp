#include "app/frmSplash.h"

#include "app/Artwork.h"
#include "app/Version.h"
#include "app/Windows.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel* makeLabel(const QString& name, const QString& text = QString())
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setStyleSheet(QStringLiteral("frmSplash { background: #fff8f3; border: 2px solid #c9a048; }"
                                 "QLabel { color: #5a2a3a; }"));
    setAttribute(Qt::WA_StyledBackground);

    Picture1 = makeLabel(QStringLiteral("Picture1"));
    Picture1->setPixmap(app::ringsPicture(96));
    Picture2 = makeLabel(QStringLiteral("Picture2"), QStringLiteral("Orvane"));
    Picture2->setStyleSheet(QStringLiteral("font-family: serif; font-size: 34pt; font-style: italic;"));
    Picture3 = makeLabel(QStringLiteral("Picture3"));
    Picture3->setFixedHeight(2);
    Picture3->setStyleSheet(QStringLiteral("background: #c9a048; margin: 0 60px;"));
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("The Wedding Planner"));
    Label1->setStyleSheet(QStringLiteral("font-size: 13pt;"));
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

void frmSplash::Form_Load()
{
    Label3->setText(app::splashVersionText(app::programVersion()));
    app::centreOnScreen(this);
}
