// The import wizard and the export window driven as a person uses them: typing the file
// name, correcting guesses, choosing for duplicates, pressing Import or Cancel.
#include "exchange/frmExport.h"
#include "exchange/frmImportGuests.h"

#include "controls/Dialogs.h"
#include "guests/MemberImport.h"
#include "guests/MemberStore.h"
#include "store/Backup.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/WidgetTestUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace exchange;
using exchangetest::fileBytes;
using testsupport::findNamed;

namespace {

const QByteArray Sheet =
    "\xEF\xBB\xBFGuest Name(s);Street Address;Side;# Invited;Email\r\n"
    "Mr. and Mrs. Liam Okafor;9 Old Mill Road;Groom;;liam@example.com\r\n"
    "Dr. Grace Moreau;1 Elm Street;bride's family;1;\r\n"
    "Grace Moreau;1 Elm Street;Bride;1;\r\n"
    "The Haddad Family;12 Maple Avenue, Springfield, Greater Metropolitan Area;Both;3;\r\n";

class ImportWizard : public exchangetest::WeddingTest {
protected:
    void SetUp() override
    {
        WeddingTest::SetUp();
        addParty("Liam", "Okafor", "9 Old Mill Road");
        sheet_ = std::make_unique<exchangetest::TempFile>("guests.csv", Sheet);
        wizard_ = std::make_unique<frmImportGuests>();
        testsupport::showActive(wizard_.get());
    }
    void TearDown() override
    {
        wizard_.reset();
        WeddingTest::TearDown();
    }
    QPushButton* button(QWizard::WizardButton which)
    {
        return qobject_cast<QPushButton*>(wizard_->button(which));
    }
    void typeFile(const QString& path)
    {
        auto* txt = findNamed<QLineEdit>(wizard_.get(), "txtFile");
        txt->setFocus();
        QTest::keyClicks(txt, path);
        QTest::keyClick(txt, Qt::Key_Tab);
    }
    void next()
    {
        QPushButton* b = wizard_->currentId() == frmImportGuests::ReviewPage ? button(QWizard::CommitButton)
                                                                             : button(QWizard::NextButton);
        ASSERT_TRUE(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    std::unique_ptr<exchangetest::TempFile> sheet_;
    std::unique_ptr<frmImportGuests> wizard_;
};

}  // namespace

TEST_F(ImportWizard, EachStepShowsItsGuessesAndTheImportWritesTheChoices)
{
    controls::ScopedFakeDialogs dialogs;
    EXPECT_FALSE(button(QWizard::NextButton)->isEnabled()) << "no file yet";
    typeFile(sheet_->path());
    auto* preview = findNamed<QTableWidget>(wizard_.get(), "grdPreview");
    EXPECT_EQ(preview->rowCount(), 4);
    EXPECT_EQ(preview->horizontalHeaderItem(0)->text(), "Guest Name(s)");
    EXPECT_EQ(preview->item(0, 0)->text(), "Mr. and Mrs. Liam Okafor");
    EXPECT_EQ(findNamed<QComboBox>(wizard_.get(), "cboSeparator")->currentText(), "Semicolon");
    EXPECT_EQ(findNamed<QComboBox>(wizard_.get(), "cboEncoding")->currentText(), "UTF-8 with BOM");
    EXPECT_TRUE(findNamed<QCheckBox>(wizard_.get(), "chkHeader")->isChecked());
    next();

    auto* columns = findNamed<QTableWidget>(wizard_.get(), "grdColumns");
    auto field = [&](int c) { return static_cast<QComboBox*>(columns->cellWidget(c, 2)); };
    EXPECT_EQ(field(0)->currentText(), "Whole name (title, first and last)");
    EXPECT_EQ(field(3)->currentText(), "Total people invited");
    EXPECT_EQ(field(4)->currentText(), "not imported");
    EXPECT_TRUE(findNamed<QLabel>(wizard_.get(), "lblNotImported")->text().contains("Email"));
    next();

    // Invitations: the ceremony and reception are ticked; the side is the file's own column.
    EXPECT_EQ(wizard_->currentId(), frmImportGuests::InvitePage);
    auto* shower = findNamed<QCheckBox>(wizard_.get(), "chkShower");
    EXPECT_TRUE(findNamed<QCheckBox>(wizard_.get(), "chkCeremony")->isChecked());
    EXPECT_TRUE(findNamed<QCheckBox>(wizard_.get(), "chkReception")->isChecked());
    EXPECT_FALSE(shower->isChecked());
    EXPECT_FALSE(findNamed<QComboBox>(wizard_.get(), "cboSide")->isEnabled());
    EXPECT_TRUE(findNamed<QLabel>(wizard_.get(), "lblFileSays")->text().contains("side", Qt::CaseInsensitive))
        << findNamed<QLabel>(wizard_.get(), "lblFileSays")->text().toStdString();
    shower->setFocus();
    QTest::keyClick(shower, Qt::Key_Space);
    QTest::keyClick(findNamed<QCheckBox>(wizard_.get(), "chkCeremony"), Qt::Key_Space);
    next();

    auto* tabs = findNamed<QTabWidget>(wizard_.get(), "tabReview");
    EXPECT_EQ(tabs->tabText(0), "&New parties (1)");
    EXPECT_EQ(tabs->tabText(1), "Likely &duplicates (2)");
    EXPECT_EQ(tabs->tabText(2), "&Problems (1)");
    auto* problems = findNamed<QTableWidget>(wizard_.get(), "grdProblems");
    EXPECT_TRUE(problems->item(0, 2)->text().contains("longer than its 40 characters"));
    // Grace Moreau repeats row 3: add her anyway; Liam Okafor stays skipped.
    auto* duplicates = findNamed<QTableWidget>(wizard_.get(), "grdDuplicates");
    ASSERT_EQ(duplicates->rowCount(), 2);
    EXPECT_TRUE(duplicates->item(0, 2)->text().contains("(in the list)"));
    static_cast<QComboBox*>(duplicates->cellWidget(1, 4))->setCurrentIndex(1);
    next();

    EXPECT_EQ(wizard_->currentId(), frmImportGuests::DonePage);
    const QString summary = findNamed<QLabel>(wizard_.get(), "lblSummary")->text();
    EXPECT_TRUE(summary.startsWith("2 parties added, 0 updated, 2 skipped.")) << summary.toStdString();
    EXPECT_TRUE(wizard_->imported);
    EXPECT_EQ(guestCount(), 3);
    auto invited = db_->openRecordset(
        "SELECT InvCeremony, InvReception, ShowerGuest, guestof FROM Guests WHERE "
        "LastName = 'Moreau'",
        store::RecordsetType::Snapshot);
    EXPECT_FALSE(invited->value(0).toBool()) << "the ceremony was unticked";
    EXPECT_TRUE(invited->value(1).toBool());
    EXPECT_TRUE(invited->value(2).toBool()) << "the shower was ticked";
    EXPECT_EQ(invited->value(3).toString(), "Bride") << "the file's side";
    EXPECT_FALSE(wizard_->button(QWizard::BackButton)->isVisible() &&
                 wizard_->button(QWizard::BackButton)->isEnabled());
    EXPECT_TRUE(QFile::exists(wizard_->result.backupPath));
}

TEST_F(ImportWizard, CancelAtEveryStepLeavesTheFileByteIdentical)
{
    controls::ScopedFakeDialogs dialogs;
    store::Workspace::defaultWorkspace().close();
    const QByteArray before = fileBytes(path());
    for (int step = frmImportGuests::FilePage; step <= frmImportGuests::ReviewPage; ++step) {
        db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
        wizard_ = std::make_unique<frmImportGuests>();
        testsupport::showActive(wizard_.get());
        typeFile(sheet_->path());
        for (int s = 0; s < step; ++s)
            next();
        EXPECT_EQ(wizard_->currentId(), step);
        QTest::mouseClick(button(QWizard::CancelButton), Qt::LeftButton);
        EXPECT_FALSE(wizard_->isVisible());
        store::Workspace::defaultWorkspace().close();
        EXPECT_EQ(fileBytes(path()), before) << "cancelled at step " << step + 1;
    }
    EXPECT_TRUE(store::backup::list(path(), false).empty()) << "no backup either";
    db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
}

TEST_F(ImportWizard, AWorkbookOrAMissingFileIsExplainedAndGoesNoFurther)
{
    const exchangetest::TempFile book("guests.xlsx", QByteArray("PK\x03\x04", 4));
    typeFile(book.path());
    EXPECT_TRUE(findNamed<QLabel>(wizard_.get(), "lblMessage")->text().contains("Save As"));
    EXPECT_FALSE(button(QWizard::NextButton)->isEnabled());
    auto* txt = findNamed<QLineEdit>(wizard_.get(), "txtFile");
    txt->clear();
    typeFile(book.path() + ".gone");
    EXPECT_TRUE(findNamed<QLabel>(wizard_.get(), "lblMessage")->text().contains("does not exist"));
    EXPECT_FALSE(button(QWizard::NextButton)->isEnabled());
}

TEST_F(ImportWizard, ABinaryFileIsRefusedAndBrokenRowsAreListedAsProblemsThatCannotBeMended)
{
    controls::ScopedFakeDialogs dialogs;
    typeFile(path());  // the wedding file itself
    EXPECT_TRUE(findNamed<QLabel>(wizard_.get(), "lblMessage")->text().contains("not a text file"));
    EXPECT_FALSE(button(QWizard::NextButton)->isEnabled());

    const exchangetest::TempFile csv("broken.csv", exchangetest::brokenList());
    auto* txt = findNamed<QLineEdit>(wizard_.get(), "txtFile");
    txt->clear();
    typeFile(csv.path());
    auto* preview = findNamed<QTableWidget>(wizard_.get(), "grdPreview");
    ASSERT_EQ(preview->rowCount(), 3) << "the row after the broken one is a row of its own";
    EXPECT_EQ(preview->item(0, 1)->text(), QString::fromUtf8("Os\xEF\xBF\xBDlo"))
        << "the zero byte shows as a mark";
    next();
    next();
    next();
    auto* problems = findNamed<QTableWidget>(wizard_.get(), "grdProblems");
    ASSERT_EQ(problems->rowCount(), 2);
    EXPECT_TRUE(problems->item(0, 2)->text().contains("not text"));
    EXPECT_EQ(static_cast<QComboBox*>(problems->cellWidget(0, 3))->count(), 2) << "the city can be left out";
    EXPECT_TRUE(problems->item(1, 2)->text().contains("line 3 is never closed"));
    EXPECT_EQ(static_cast<QComboBox*>(problems->cellWidget(1, 3))->count(), 1) << "only skipping";
}

TEST_F(ImportWizard, AListOfPeopleIsGroupedByTheColumnChosenAndReviewedPartyByParty)
{
    controls::ScopedFakeDialogs dialogs;
    const exchangetest::TempFile list("people.csv",
                                      "Home;First Name;Last Name;Meal;Email\n"
                                      "1;Ann;Lee;Salmon;ann@example.com\n"
                                      "1;Bo;Lee;Beef;\n"
                                      "2;Cy;Roe;Fish;\n");
    wizard_ = std::make_unique<frmImportGuests>(nullptr, &guests::memberImport());
    testsupport::showActive(wizard_.get());
    typeFile(list.path());
    next();
    // "Home" names no household: the user chooses it with the keys (the last field but seven).
    auto* columns = findNamed<QTableWidget>(wizard_.get(), "grdColumns");
    auto* home = static_cast<QComboBox*>(columns->cellWidget(0, 2));
    EXPECT_EQ(home->currentText(), "not imported");
    EXPECT_TRUE(findNamed<QLabel>(wizard_.get(), "lblNotImported")->text().contains("Email"));
    home->setFocus();
    QTest::keyClick(home, Qt::Key_End);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(home, Qt::Key_Up);
    ASSERT_EQ(home->currentText(), "Household (groups people into parties)");
    EXPECT_TRUE(groupsPeople(wizard_->mapping));
    // The columns of a person's values are read for each person from then on.
    EXPECT_EQ(static_cast<QComboBox*>(columns->cellWidget(3, 2))->currentText(), "Person: meal");
    EXPECT_EQ(static_cast<QComboBox*>(columns->cellWidget(4, 2))->currentText(), "Person: e-mail");
    EXPECT_EQ(findNamed<QLabel>(wizard_.get(), "lblNotImported")->text(), "Every column is imported.");
    next();
    next();

    EXPECT_EQ(findNamed<QLabel>(wizard_.get(), "lblCounts")->text().left(28), "3 people in 2 parties read f");
    auto* parties = findNamed<QTreeWidget>(wizard_.get(), "treParties");
    ASSERT_EQ(parties->topLevelItemCount(), 2);
    EXPECT_TRUE(parties->isVisible());
    EXPECT_EQ(parties->topLevelItem(0)->text(1), "Ann & Bo Lee");
    ASSERT_EQ(parties->topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(parties->topLevelItem(0)->child(1)->text(1), "Bo Lee");
    EXPECT_EQ(parties->topLevelItem(0)->child(1)->text(7), "Beef");
    next();

    const QString summary = findNamed<QLabel>(wizard_.get(), "lblSummary")->text();
    EXPECT_TRUE(summary.contains("3 people added to the parties.")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Added to the menu: Fish.")) << summary.toStdString();
    auto set = db_->openRecordset("SELECT rowid FROM Guests WHERE LastName = 'Lee'");
    const std::vector<guests::Member> lees = guests::loadMembers(*db_, set->value(0).toLongLong());
    ASSERT_EQ(lees.size(), 2u);
    EXPECT_EQ(lees[0].email, "ann@example.com");
}

TEST_F(ImportWizard, CorrectedSettingsReadTheFileAgain)
{
    typeFile(sheet_->path());
    auto* header = findNamed<QCheckBox>(wizard_.get(), "chkHeader");
    QTest::mouseClick(header, Qt::LeftButton);
    auto* preview = findNamed<QTableWidget>(wizard_.get(), "grdPreview");
    EXPECT_EQ(preview->rowCount(), 5) << "the header row now reads as a guest";
    EXPECT_EQ(preview->horizontalHeaderItem(0)->text(), "Column 1");
    auto* separator = findNamed<QComboBox>(wizard_.get(), "cboSeparator");
    separator->setCurrentIndex(separator->findText("Comma"));
    emit separator->activated(separator->currentIndex());
    EXPECT_EQ(preview->item(0, 0)->text(), "Guest Name(s);Street Address;Side;# Invited;Email");
}

TEST_F(ImportWizard, TheExportWindowWritesTheChosenListAndTheCalendar)
{
    controls::ScopedFakeDialogs dialogs;
    frmExport window(frmExport::Mode::Lists);
    testsupport::showActive(&window);
    auto* list = findNamed<QComboBox>(&window, "cboList");
    list->setCurrentIndex(list->findText("Expenses"));
    emit list->activated(list->currentIndex());
    auto* xlsx = findNamed<QRadioButton>(&window, "optXlsx");
    QTest::mouseClick(xlsx, Qt::LeftButton, {}, QPoint(6, xlsx->height() / 2));
    auto* file = findNamed<QLineEdit>(&window, "txtFile");
    EXPECT_TRUE(file->text().endsWith("Expenses.xlsx")) << file->text().toStdString();
    ASSERT_TRUE(findNamed<QRadioButton>(&window, "optXlsx")->isChecked());
    file->setText(tempPath("budget"));
    QTest::mouseClick(findNamed<QPushButton>(&window, "cmdExport"), Qt::LeftButton);
    EXPECT_TRUE(fileBytes(tempPath("budget.xlsx")).startsWith("PK")) << "the extension is added";
    ASSERT_EQ(dialogs->messages().size(), 1u);
    EXPECT_TRUE(dialogs->messages()[0].text.contains("rows written to"));

    frmExport calendar(frmExport::Mode::Calendar);
    testsupport::showActive(&calendar);
    findNamed<QLineEdit>(&calendar, "txtFile")->setText(tempPath("missing/folder/plan.ics"));
    QTest::mouseClick(findNamed<QPushButton>(&calendar, "cmdExport"), Qt::LeftButton);
    EXPECT_TRUE(dialogs->messages().back().text.contains("cannot be written"));
    EXPECT_TRUE(calendar.isVisible()) << "the window stays open to correct the name";

    // A calendar named like the wedding file (typed without its extension, which the window
    // adds) is refused before any question to replace it; the name stays to be corrected.
    const QString link = tempPath("plan.ics");
    ASSERT_TRUE(QFile::link(path(), link));
    const QByteArray before = fileBytes(path());
    const size_t shown = dialogs->messages().size();
    auto* name = findNamed<QLineEdit>(&calendar, "txtFile");
    name->clear();
    QTest::keyClicks(name, link);
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(dialogs->messages().size(), shown + 1) << "one message, no question to replace the file";
    EXPECT_TRUE(dialogs->messages().back().text.contains("is the wedding file itself"))
        << dialogs->messages().back().text.toStdString();
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(name->text(), link);
    EXPECT_TRUE(calendar.isVisible());
}

TEST_F(ImportWizard, BrowseAsksThroughTheDialogsAndCancellingKeepsTheName)
{
    controls::ScopedFakeDialogs dialogs;
    frmExport window(frmExport::Mode::Calendar);
    testsupport::showActive(&window);
    auto* file = findNamed<QLineEdit>(&window, "txtFile");
    file->setText(tempPath("plan.ics"));
    auto* browse = findNamed<QPushButton>(&window, "cmdBrowse");
    QTest::mouseClick(browse, Qt::LeftButton);  // cancelled: no answer queued
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, controls::DialogCall::Kind::SaveFile);
    EXPECT_EQ(dialogs->calls[0].defaultText, tempPath("plan.ics")) << "it starts at the name shown";
    EXPECT_EQ(file->text(), tempPath("plan.ics"));
    dialogs->fileAnswers = {tempPath("wedding-days.ics")};
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(file->text(), tempPath("wedding-days.ics"));
    EXPECT_TRUE(dialogs->fileAnswers.empty());
}
