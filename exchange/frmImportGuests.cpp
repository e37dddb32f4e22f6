#include "exchange/frmImportGuests.h"

#include "controls/Dialogs.h"
#include "shell/Help.h"

namespace exchange {

frmImportGuests::frmImportGuests(QWidget* parent, const shell::PeopleImport* people)
    : QWizard(parent), people(people)
{
    setObjectName(QStringLiteral("frmImportGuests"));
    setWindowTitle(QStringLiteral("Import Guests"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton);
    setOption(QWizard::NoBackButtonOnLastPage);
    setOption(QWizard::NoCancelButtonOnLastPage);
    setButtonText(QWizard::CommitButton, QStringLiteral("&Import"));
    setPage(FilePage, new ImportFilePage(this));
    setPage(ColumnsPage, new ImportColumnsPage(this));
    setPage(InvitePage, new ImportInvitePage(this));
    setPage(ReviewPage, new ImportReviewPage(this));
    setPage(DonePage, new ImportDonePage(this));
    connect(this, &QWizard::helpRequested, this, [this] { shell::showHelp(this, shell::HelpImport); });
    resize(860, 560);
}

bool showImportGuests(QWidget* parent, const shell::PeopleImport* people)
{
    frmImportGuests wizard(parent, people);
    controls::ShowModal(&wizard);
    return wizard.imported;
}

}  // namespace exchange
