#include "app/frmAbout.h"

#include "app/Version.h"
#include "shell/Artwork.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Windows.h"
#include "store/Store.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QLabel* makeLabel(const QString& name, const QString& text = QString())
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}
}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orvane"));

    shell::setHelpContext(this, shell::HelpOfOwner);
    Image1 = makeLabel(QStringLiteral("Image1"));
    Image1->setPixmap(shell::ringsPicture(72));
    Image1->setAlignment(Qt::AlignTop);
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Orvane Wedding Planner"));
    shell::setTextLook(Label2, {14, false, false, QFont::Bold});
    Label5 = makeLabel(QStringLiteral("Label5"));
    Label3 = makeLabel(QStringLiteral("Label3"),
                       QStringLiteral("Plans the whole wedding in one file: general information, checklist, "
                                      "guests, expenses, vendors, seating, reports and labels."));
    Label4 = makeLabel(QStringLiteral("Label4"),
                       QStringLiteral("Copyright \u00A9 the Orvane developers. All rights reserved."));
    lblVersions = makeLabel(QStringLiteral("lblVersions"));
    lblDataFile = makeLabel(QStringLiteral("lblDataFile"));
    // The path can be selected and copied, e.g. to find the file for a backup.
    lblDataFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Command1 = new QPushButton(QStringLiteral("O.K."));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Image1, 0, 0, 6, 1);
    layout->addWidget(Label2, 0, 1);
    layout->addWidget(Label5, 1, 1);
    layout->addWidget(Label3, 2, 1);
    layout->addWidget(Label4, 3, 1);
    layout->addWidget(lblVersions, 4, 1);
    layout->addWidget(lblDataFile, 5, 1);
    layout->addWidget(Command1, 6, 1, Qt::AlignRight);
    layout->setColumnMinimumWidth(1, 320);
    layout->setHorizontalSpacing(18);

    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    Form_Load();
}

void frmAbout::Form_Load()
{
    Label5->setText(app::aboutVersionText(app::programVersion()));
    lblVersions->setText(QStringLiteral("Running on Qt %1 and SQLite %2.")
                             .arg(QString::fromLatin1(qVersion()), store::engineVersion()));
    lblDataFile->setText(
        QStringLiteral("Wedding file: %1").arg(QDir::toNativeSeparators(shell::program().DatabasePath)));
    adjustSize();
    shell::centreOnScreen(this);
}

void frmAbout::Command1_Click()
{
    accept();
}
