// The import wizard's step of invitations: which events every party of the file is invited to
// and whose guests they are, unless a column of the file says so (that column wins, also where
// it says no). Without this step a list imported is invited to nothing, and the seating, the
// replies and the labels pass it over.
#include "exchange/frmImportGuests.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace exchange {

namespace {

const GuestField EventFields[] = {GuestField::Ceremony, GuestField::Reception, GuestField::Shower,
                                  GuestField::Rehearsal};

bool mapped(const std::vector<GuestField>& mapping, GuestField field)
{
    return std::find(mapping.begin(), mapping.end(), field) != mapping.end();
}

}  // namespace

ImportInvitePage::ImportInvitePage(frmImportGuests* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 3 of 4: invitations"));
    setSubTitle(
        QStringLiteral("Invite every party of the file to these events and give it a side. Where a column "
                       "of the file says it, the file's own value is kept."));
    const char* const names[] = {"chkCeremony", "chkReception", "chkShower", "chkRehearsal"};
    const char* const captions[] = {"the &ceremony", "the &reception", "the &shower", "the re&hearsal"};
    auto* events = new QVBoxLayout;
    for (int e = 0; e < 4; ++e) {
        chkEvents[e] = new QCheckBox(QString::fromLatin1(captions[e]));
        chkEvents[e]->setObjectName(QString::fromLatin1(names[e]));
        events->addWidget(chkEvents[e]);
    }
    chkEvents[0]->setChecked(true);
    chkEvents[1]->setChecked(true);
    cboSide = new QComboBox;
    cboSide->setObjectName(QStringLiteral("cboSide"));
    cboSide->addItems({QStringLiteral("Both"), QStringLiteral("Bride"), QStringLiteral("Groom")});
    lblFileSays = new QLabel;
    lblFileSays->setObjectName(QStringLiteral("lblFileSays"));
    lblFileSays->setWordWrap(true);
    auto* form = new QFormLayout;
    auto* invite = new QLabel(QStringLiteral("Invite them to:"));
    form->addRow(invite, events);
    auto* side = new QLabel(QStringLiteral("S&ide:"));
    side->setBuddy(cboSide);
    auto* sideRow = new QHBoxLayout;
    sideRow->addWidget(cboSide);
    sideRow->addStretch();
    form->addRow(side, sideRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblFileSays);
    layout->addStretch();
}

void ImportInvitePage::initializePage()
{
    const std::vector<GuestField>& mapping = wizard_->mapping;
    // A box the file decides for is shown empty and cannot be changed: its column says, row by row.
    for (int e = 0; e < 4; ++e) {
        const bool own = mapped(mapping, EventFields[e]);
        if (own)
            chkEvents[e]->setChecked(false);
        else if (!chkEvents[e]->isEnabled())
            chkEvents[e]->setChecked(e < 2);  // the file chosen before said; this one does not
        chkEvents[e]->setEnabled(!own);
    }
    cboSide->setEnabled(!mapped(mapping, GuestField::Side));
    // The columns that decide instead, by their headers where the file has them.
    QStringList deciding;
    const QStringList& headers = wizard_->table.headers;
    for (size_t c = 0; c < mapping.size(); ++c) {
        const GuestField f = mapping[c];
        if (f != GuestField::Side &&
            std::find(std::begin(EventFields), std::end(EventFields), f) == std::end(EventFields))
            continue;
        const QString header = qsizetype(c) < headers.size() ? headers[qsizetype(c)].trimmed() : QString();
        deciding << (header.isEmpty() ? fieldInfo(f).caption : QStringLiteral("\u201C%1\u201D").arg(header));
    }
    lblFileSays->setText(
        deciding.isEmpty()
            ? QString()
            : QStringLiteral("Where the file has its own column, each row says for its party: %1.")
                  .arg(deciding.join(QStringLiteral(", "))));
}

bool ImportInvitePage::validatePage()
{
    wizard_->inviteTo.clear();
    for (int e = 0; e < 4; ++e)
        if (chkEvents[e]->isChecked() && chkEvents[e]->isEnabled())
            wizard_->inviteTo.push_back(EventFields[e]);
    wizard_->side = cboSide->isEnabled() ? cboSide->currentText() : QString();
    return true;
}

}  // namespace exchange
