#include "reports/frmPartyLabels.h"

#include "controls/Dialogs.h"
#include "reports/ReportChoices.h"
#include "reports/ReportEngine.h"
#include "reports/ReportError.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "store/Transaction.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace reports {

namespace {

// The event index of the label templates: the shower's line has templates of its own.
constexpr int WeddingLine = 0;
constexpr int ShowerLine = 3;

}  // namespace

void markPartiesForLabels(store::Database& db, const std::vector<qint64>& parties)
{
    std::vector<QVariantList> keys;
    keys.reserve(parties.size());
    for (qint64 key : parties)
        keys.push_back({key});
    store::Transaction change;
    db.execute(QStringLiteral("UPDATE Guests SET printit = False WHERE printit = True"));
    db.executeEach(QStringLiteral("UPDATE Guests SET printit = True WHERE rowid = ?"), keys);
    change.commit();
}

frmPartyLabels::frmPartyLabels(std::vector<qint64> parties, QWidget* parent)
    : QDialog(parent), parties_(std::move(parties))
{
    setObjectName(QStringLiteral("frmPartyLabels"));
    setWindowTitle(QStringLiteral("Print Labels"));
    cboText = new QComboBox;
    cboText->setObjectName(QStringLiteral("cboText"));
    cboText->addItems(
        {QStringLiteral("The wedding envelope line"), QStringLiteral("The shower envelope line")});
    cboStock = new QComboBox;
    cboStock->setObjectName(QStringLiteral("cboStock"));
    cboStock->addItems(labelStyles());
    cmdPreview = new QPushButton(QStringLiteral("Pre&view"));
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPrint = new QPushButton(QStringLiteral("&Print"));
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdPreview->setDefault(true);
    connect(cmdPreview, &QPushButton::clicked, this, &frmPartyLabels::cmdPreview_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPartyLabels::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    auto* text = new QLabel(QStringLiteral("&Label text:"));
    text->setBuddy(cboText);
    auto* stock = new QLabel(QStringLiteral("Label &stock:"));
    stock->setBuddy(cboStock);
    form->addRow(text, cboText);
    form->addRow(stock, cboStock);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPreview);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    const qsizetype n = qsizetype(parties_.size());
    layout->addWidget(new QLabel(QStringLiteral("Labels for %1 %2, one label each.")
                                     .arg(n)
                                     .arg(n == 1 ? QStringLiteral("party") : QStringLiteral("parties"))));
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void frmPartyLabels::cmdPreview_Click()
{
    run(false);
}

void frmPartyLabels::cmdPrint_Click()
{
    run(true);
}

void frmPartyLabels::run(bool toPrinter)
{
    const int event = cboText->currentIndex() == 1 ? ShowerLine : WeddingLine;
    ReportEngine& engine = CR1;
    engine.setReportFileName(shell::templatePath(labelTemplateName(event, cboStock->currentIndex())));
    engine.setDestination(toPrinter ? ReportEngine::Destination::Printer : ReportEngine::Destination::Window);
    engine.setWindowState(ReportEngine::WindowMaximised);
    engine.setWindowParent(this);
    try {
        markPartiesForLabels(shell::database(), parties_);
        engine.run();
        accept();
    } catch (const ReportError& e) {
        controls::MsgBox(e.description() + "\n\nReport File: " + engine.reportFileName(),
                         controls::mb::OKOnly, QStringLiteral("Report Error"), this);
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, QStringLiteral("Report Error"), this);
    }
}

void showPartyLabels(QWidget* parent, const std::vector<qint64>& parties)
{
    frmPartyLabels window(parties, parent);
    controls::ShowModal(&window);
}

}  // namespace reports
