#include "reports/frmReports.h"

#include "controls/Dialogs.h"
#include "reports/CardSheet.h"
#include "reports/ReportChoices.h"
#include "reports/ReportError.h"
#include "reports/ReportOutput.h"
#include "reports/SectionFont.h"
#include "reports/TableSheet.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "store/Log.h"
#include "store/Transaction.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The SQL of the five label sets: the label text and the print mark of every party of an
// event, by last name.
const QString LabelSetSql[5] = {
    QStringLiteral("SELECT Guests.wedlbl, Guests.printit From Guests ") + "ORDER BY Guests.LastName;",
    QStringLiteral("SELECT Guests.wedlbl, Guests.printit From Guests ") +
        "Where ((Guests.InvCeremony) = True) " + "ORDER BY Guests.LastName;",
    QStringLiteral("SELECT Guests.wedlbl, Guests.printit From Guests ") +
        "Where ((Guests.InvReception) = True) " + "ORDER BY Guests.LastName;",
    QStringLiteral("SELECT Guests.showlbl, Guests.printit From Guests ") +
        "Where ((Guests.ShowerGuest) = True) " + "ORDER BY Guests.LastName;",
    QStringLiteral("SELECT Guests.wedlbl, Guests.printit From Guests ") +
        "Where ((Guests.InvRehearsal) = True) " + "ORDER BY Guests.LastName;",
};

const QStringList EventItems{"Ceremony", "Reception", "Shower", "Rehearsal"};

// The index of the chosen option of a group, -1 when none is chosen.
template <size_t N>
int chosenOption(QRadioButton* const (&options)[N])
{
    for (size_t i = 0; i < N; ++i)
        if (options[i]->isChecked())
            return int(i);
    return -1;
}

QRadioButton* option(QWidget* tab, const QString& name, const QString& caption)
{
    auto* radio = new QRadioButton(caption, tab);
    radio->setObjectName(name);
    return radio;
}

QComboBox* dropDownList(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    return list;
}

// A tab holding one column of options, named name(0), name(1), ...
QWidget* optionsTab(QRadioButton** options, const QString& name, const QStringList& captions)
{
    auto* tab = new QWidget;
    auto* box = new QVBoxLayout(tab);
    for (int i = 0; i < captions.size(); ++i)
        box->addWidget(options[i] = option(tab, QString("%1(%2)").arg(name).arg(i), captions[i]));
    box->addStretch(1);
    return tab;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

void showReportsWindow()
{
    frmReports window(QApplication::activeWindow());
    if (window.Form_Load())
        controls::ShowModal(&window);
}

frmReports::frmReports(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(QStringLiteral("Reports"));

    shell::setHelpContext(this, shell::HelpReports);
    buildWindow();
}

frmReports::~frmReports()
{
    Form_QueryUnload();
}

QPushButton* frmReports::button(const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void frmReports::buildWindow()
{
    Label1 = label(this, "Label1", "Orvane Reports");
    QFont heading = Label1->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    heading.setBold(true);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignCenter);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");
    SSTab1->addTab(buildGuestTab(), "Guest List");
    SSTab1->addTab(
        optionsTab(optExp, "optExp", {"Complete Expense Report", "Unpaid Expenses", "Paid Expenses"}),
        "Expenses");
    SSTab1->addTab(
        optionsTab(optCheck, "optCheck", {"Complete Checklist", "Incomplete Items", "Completed Items"}),
        "Checklist");
    SSTab1->addTab(optionsTab(OptTables, "OptTables", {"Table Assignments", "Unassigned Guests"}), "Seating");
    SSTab1->addTab(buildLabelsTab(), "Labels");
    optCatering = option(nullptr, QStringLiteral("optCatering"), QStringLiteral("Catering Summary"));
    optCatering->setChecked(true);
    auto* catering = new QWidget;
    auto* cateringBox = new QVBoxLayout(catering);
    cateringBox->addWidget(optCatering);
    auto* cateringText =
        label(catering, "lblCatering",
              "Per table the adults, children and infants expected at the reception and their "
              "meals, then the dietary needs at each table with every name.");
    cateringText->setWordWrap(true);
    cateringBox->addWidget(cateringText);
    cateringBox->addStretch(1);
    SSTab1->addTab(catering, "Catering");
    SSTab1->addTab(buildPlaceCardsTab(), "Place Cards");
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmReports::SSTab1_Click);

    SSCommand2 = button("SSCommand2", "Preview");
    SSCommand3 = button("SSCommand3", "Print");
    cmdPDF = button("cmdPDF", QString::fromUtf8("PDF…"));
    SSCommand4 = button("SSCommand4", "Close");
    SSCommand5 = button("SSCommand5", "Help");
    connect(SSCommand2, &QPushButton::clicked, this, &frmReports::SSCommand2_Click);
    connect(SSCommand3, &QPushButton::clicked, this, &frmReports::SSCommand3_Click);
    SSCommand3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    SSCommand3->setToolTip(
        QStringLiteral("Print (%1)").arg(SSCommand3->shortcut().toString(QKeySequence::NativeText)));
    connect(cmdPDF, &QPushButton::clicked, this, &frmReports::cmdPDF_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmReports::SSCommand4_Click);
    connect(SSCommand5, &QPushButton::clicked, this, &frmReports::SSCommand5_Click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {SSCommand2, SSCommand3, cmdPDF, SSCommand4, SSCommand5})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);
    resize(560, 430);
}

QWidget* frmReports::buildGuestTab()
{
    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    const QString captions[3] = {"Complete Guest List", "Guests Invited to", "Guests Not Invited to"};
    for (int i = 0; i < 3; ++i) {
        optGuests[i] = option(tab, QString("optGuests(%1)").arg(i), captions[i]);
        grid->addWidget(optGuests[i], i, 0);
    }
    for (int i = 0; i < 2; ++i) {
        cmbInvited[i] = dropDownList(tab, QString("cmbInvited(%1)").arg(i), EventItems);
        grid->addWidget(cmbInvited[i], i + 1, 1);
    }
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);
    return tab;
}

QWidget* frmReports::buildLabelsTab()
{
    auto* tab = new QWidget;
    Label3 = label(tab, "Label3", "Guest Invited to");
    cmblblinv = dropDownList(tab, "cmblblinv", QStringList{"All Guests"} + EventItems);
    cmblblinv->setCurrentIndex(-1);
    connect(cmblblinv, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cmblblinv_Click();
    });
    Label2 = label(tab, "Label2", "Label Style");
    cmbstyles = dropDownList(tab, "cmbstyles", {});
    Label4 = label(tab, "Label4", "Select Guests");
    List1 = new QListWidget(tab);
    List1->setObjectName("List1");
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    lblguestcount = label(tab, "lblguestcount", QString());
    Command1 = new QPushButton("Select All", tab);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton("Select None", tab);
    Command2->setObjectName("Command2");
    connect(Command1, &QPushButton::clicked, this, &frmReports::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmReports::Command2_Click);
    text1 = label(tab, "text1", "Sample");
    text1->setFrameShape(QFrame::Box);
    text1->setAlignment(Qt::AlignCenter);
    text1->setMinimumHeight(56);
    QFont design(QStringLiteral("Times New Roman"));
    design.setPointSizeF(14.25);
    design.setBold(true);
    design.setItalic(true);
    text1->setFont(design);
    SSCommand1 = new QPushButton("Select New Font", tab);
    SSCommand1->setObjectName("SSCommand1");
    connect(SSCommand1, &QPushButton::clicked, this, &frmReports::SSCommand1_Click);

    auto* grid = new QGridLayout(tab);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(cmblblinv, 1, 0);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(cmbstyles, 3, 0);
    grid->addWidget(text1, 4, 0);
    grid->addWidget(SSCommand1, 5, 0);
    grid->setRowStretch(6, 1);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(Label4);
    countRow->addStretch(1);
    countRow->addWidget(lblguestcount);
    grid->addLayout(countRow, 0, 1);
    grid->addWidget(List1, 1, 1, 6, 1);
    auto* selectRow = new QHBoxLayout;
    selectRow->addWidget(Command1);
    selectRow->addWidget(Command2);
    grid->addLayout(selectRow, 7, 1);
    grid->setColumnStretch(1, 1);
    return tab;
}

QWidget* frmReports::buildPlaceCardsTab()
{
    auto* tab = new QWidget;
    shell::setHelpContext(tab, shell::HelpPlaceCards);
    auto* kinds = new QGroupBox(QStringLiteral("Print"), tab);
    auto* kindBox = new QVBoxLayout(kinds);
    const QString kindCaptions[2] = {QStringLiteral("&Place cards: name, table and meal mark, by table"),
                                     QStringLiteral("&Escort cards: name and table, alphabetically")};
    for (int i = 0; i < 2; ++i)
        kindBox->addWidget(optCards[i] = option(kinds, QString("optCards(%1)").arg(i), kindCaptions[i]));
    optCards[0]->setChecked(true);
    auto* stocks = new QGroupBox(QStringLiteral("Card stock"), tab);
    auto* stockBox = new QVBoxLayout(stocks);
    for (int i = 0; i < 2; ++i)
        stockBox->addWidget(optCardStock[i] = option(stocks, QString("optCardStock(%1)").arg(i),
                                                     reports::cardStocks()[size_t(i)].caption));
    optCardStock[0]->setChecked(true);
    // Escort cards lie flat on a table by the door; place cards stand folded at each seat.
    connect(optCards[1], &QRadioButton::toggled, this,
            [this](bool escort) { optCardStock[escort ? 1 : 0]->setChecked(true); });
    lblCardsNote = label(tab, "lblCardsNote",
                         "A card for each person expected at the reception (attending, or invited "
                         "and not yet replied) whose party is seated at a table.");
    lblCardsNote->setWordWrap(true);
    auto* box = new QVBoxLayout(tab);
    box->addWidget(kinds);
    box->addWidget(stocks);
    box->addWidget(lblCardsNote);
    box->addStretch(1);
    return tab;
}

bool frmReports::Form_Load()
{
    loaded_ = true;
    move(3100 / 15, 2900 / 15);  // twips at 15 per pixel
    cmbInvited[0]->setCurrentIndex(0);
    cmbInvited[1]->setCurrentIndex(0);
    for (int i = 1; i <= 4; ++i)
        EventFields[i] = reports::EventFieldNames[i];
    Labels_Load();
    CurrentTab = 0;
    return loaded_;
}

void frmReports::showEvent(QShowEvent* event)
{
    SSTab1->setCurrentIndex(CurrentTab);
    QDialog::showEvent(event);
}

void frmReports::SSTab1_Click(int tab)
{
    CurrentTab = tab;
    if (tab == 4)
        Labels_Start();
}

QString frmReports::templatePath(const QString& templateName) const
{
    return shell::templatePath(templateName);
}

bool frmReports::Get_Report()
{
    CR1.setSelectionFormula(QString());
    reports::ReportChoice choice;
    switch (SSTab1->currentIndex()) {
        case 0:
            choice = reports::guestListChoice(chosenOption(optGuests), cmbInvited[0]->currentIndex(),
                                              cmbInvited[1]->currentIndex(), EventFields);
            break;
        case 1:
            choice = reports::expenseChoice(chosenOption(optExp));
            break;
        case 2:
            choice = reports::checklistChoice(chosenOption(optCheck));
            break;
        case 3:
            choice = reports::seatingChoice(chosenOption(OptTables));
            break;
        case 4:
            return Get_Labels();
        default:
            return false;
    }
    CR1.setReportFileName(templatePath(choice.templateName));
    CR1.setSelectionFormula(choice.formula);
    return choice.found;
}

// Prepares the report. Returns false, after a beep, when there is nothing to run; a
// failure is kept in `failure` and the caller goes on so that it is reported.
static bool prepared(frmReports& window, QString* failure)
{
    try {
        if (window.Get_Report())
            return true;
        controls::Beep();
        return false;
    } catch (const reports::ReportError& e) {
        *failure = e.description();
    } catch (const store::StoreError& e) {
        *failure = e.description();
    }
    return true;
}

// Runs the engine unless the preparation failed: a report run on a failed preparation
// could print the wrong parties.
static void runEngine(reports::ReportEngine& engine, QString* failure)
{
    if (!failure->isEmpty())
        return;
    try {
        engine.run();
    } catch (const reports::ReportError& e) {
        *failure = e.description();
    } catch (const store::StoreError& e) {
        *failure = e.description();
    }
}

bool frmReports::runOwnSheet(reports::ReportEngine::Destination destination)
{
    if (SSTab1->currentIndex() == CateringTab)
        return runCateringSheet(destination);
    if (SSTab1->currentIndex() == PlaceCardsTab) {
        runCards(destination);
        return true;
    }
    return false;
}

// Shows, prints or writes (after asking for the file) pages laid out here.
void frmReports::writeSheet(const reports::ReportPages& pages, reports::ReportEngine::Destination destination,
                            const QString& fileName)
{
    switch (destination) {
        case reports::ReportEngine::Destination::Window:
            reports::showPreview(pages, pages.title, true, this);
            break;
        case reports::ReportEngine::Destination::Printer:
            reports::printOnDefaultPrinter(pages);
            break;
        case reports::ReportEngine::Destination::File: {
            CR1.setReportFileName(fileName);
            const QString path = choosePdfFile();
            if (!path.isEmpty())
                reports::writePdf(pages, path);
            break;
        }
    }
}

// The catering summary: laid out from the registered figures and shown, printed or written.
bool frmReports::runCateringSheet(reports::ReportEngine::Destination destination)
{
    const reports::TableSheetSource& source = reports::tableSheetSource();
    if (!source) {
        controls::MsgBox("The catering summary is not available.", controls::mb::OKOnly, "Report Error",
                         this);
        return true;
    }
    try {
        writeSheet(reports::layoutTableSheet(source()), destination, QStringLiteral("catering.rpt"));
    } catch (const reports::ReportError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, "Report Error", this);
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, "Report Error", this);
    }
    return true;
}

// The place cards or escort cards of the wedding on the stock chosen. Without a card to print
// nothing is shown but the reason; the note under the choices says who has no card.
void frmReports::runCards(reports::ReportEngine::Destination destination)
{
    const reports::CardSource& source = reports::cardSource();
    if (!source) {
        controls::MsgBox("The place cards are not available.", controls::mb::OKOnly, "Report Error", this);
        return;
    }
    const bool escort = optCards[1]->isChecked();
    const reports::CardStock& stock = reports::cardStocks()[optCardStock[1]->isChecked() ? 1 : 0];
    try {
        const reports::CardList list = source(escort);
        QString note = list.cards.size() == 1 ? QStringLiteral("1 card.")
                                              : QStringLiteral("%1 cards.").arg(list.cards.size());
        if (!list.notSeated.isEmpty())
            note += QLatin1Char(' ') + list.notSeated;
        lblCardsNote->setText(note);
        if (list.cards.empty()) {
            controls::MsgBox(
                "There are no cards to print: no one expected at the reception is seated "
                "at a table yet.",
                controls::mb::OKOnly | controls::mb::Information, list.title, this);
            return;
        }
        writeSheet(reports::layoutCards(list.cards, stock, list.title), destination,
                   escort ? QStringLiteral("escort-cards.rpt") : QStringLiteral("place-cards.rpt"));
    } catch (const reports::ReportError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, "Report Error", this);
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, "Report Error", this);
    }
}

void frmReports::SSCommand2_Click()
{
    if (runOwnSheet(reports::ReportEngine::Destination::Window))
        return;
    QString failure;
    if (!prepared(*this, &failure))
        return;
    CR1.setDestination(reports::ReportEngine::Destination::Window);
    CR1.setWindowState(reports::ReportEngine::WindowMaximised);
    CR1.setWindowParent(this);
    setEnabled(false);
    runEngine(CR1, &failure);
    if (!failure.isEmpty())
        return reportFailure(failure + "\n\nReport File: " + CR1.reportFileName());
    setEnabled(true);
}

void frmReports::SSCommand3_Click()
{
    if (runOwnSheet(reports::ReportEngine::Destination::Printer))
        return;
    QString failure;
    if (!prepared(*this, &failure))
        return;
    CR1.setDestination(reports::ReportEngine::Destination::Printer);
    runEngine(CR1, &failure);
    if (!failure.isEmpty())
        reportFailure(failure);
}

void frmReports::cmdPDF_Click()
{
    if (runOwnSheet(reports::ReportEngine::Destination::File))
        return;
    QString failure;
    if (!prepared(*this, &failure))
        return;
    if (failure.isEmpty()) {
        const QString path = choosePdfFile();
        if (path.isEmpty())
            return;
        CR1.setPrintFileName(path);
    }
    CR1.setDestination(reports::ReportEngine::Destination::File);
    runEngine(CR1, &failure);
    if (!failure.isEmpty())
        reportFailure(failure);
}

// A failed report: its message, then the window unloads.
void frmReports::reportFailure(const QString& message)
{
    controls::MsgBox(message, controls::mb::OKOnly, "Report Error", this);
    unload();
}

QString frmReports::choosePdfFile()
{
    QFileDialog dialog(this, QStringLiteral("Save the Report as PDF"));
    dialog.setObjectName("PdfFileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(QFileInfo(CR1.reportFileName()).completeBaseName() + ".pdf");
    if (controls::ShowModal(&dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void frmReports::SSCommand4_Click()
{
    unload();
}

void frmReports::SSCommand5_Click()
{
    shell::showHelp(this, shell::HelpReports);
}

void frmReports::unload()
{
    loaded_ = false;
    Form_QueryUnload();
    close();
}

void frmReports::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    QDialog::closeEvent(event);
}

void frmReports::Form_QueryUnload()
{
    for (auto& set : LabelSets) {
        try {
            if (set)
                set->close();
        } catch (const store::StoreError& ignored) {
            store::logIgnored("closing a label set", ignored);
            // Closing a set that cannot be closed changes nothing for the user.
        }
        set.reset();
    }
}

// ---- The Labels tab ----

void frmReports::Labels_Load()
{
    LabelStyles = reports::labelStyles();
    cmbstyles->clear();
    for (const QString& stock : LabelStyles)
        cmbstyles->addItem("Avery " + stock);
    try {
        LabelSets[0] = shell::database().openRecordset(LabelSetSql[0], store::RecordsetType::Dynaset);
    } catch (const store::StoreError&) {
        controls::MsgBox("You have no guests in your list.", controls::mb::Information, "Missing Guests",
                         this);
        LabelSets[0].reset();
        unload();
        return;
    }
    for (int i = 1; i < 5; ++i) {
        try {
            LabelSets[i] = shell::database().openRecordset(LabelSetSql[i], store::RecordsetType::Dynaset);
        } catch (const store::StoreError&) {
            LabelSets[i].reset();  // the event's list then says there are no guests
        }
    }
}

void frmReports::Labels_Start()
{
    cmbstyles->setCurrentIndex(0);
    if (cmblblinv->currentIndex() != 0)
        cmblblinv->setCurrentIndex(0);  // runs cmblblinv_Click
    Command1_Click();
}

void frmReports::cmblblinv_Click()
{
    const int i = cmblblinv->currentIndex();
    store::Recordset* set = LabelSets[i].get();
    LabelEvent = i + 1;
    if (!set) {
        controls::MsgBox("You have no guests.", controls::mb::OKOnly, "Can not do Report", this);
        return;
    }
    try {
        if (set->recordCount() == 0) {
            List1->clear();
            lblguestcount->setText("0");
            controls::MsgBox("There are no people invited to the " + cmblblinv->currentText(),
                             controls::mb::OKOnly, QString(), this);
            return;
        }
        List1->clear();
        for (set->moveFirst(); !set->eof(); set->moveNext())
            List1->addItem(reports::labelListEntry(set->value(0)));
        lblguestcount->setText(QString::number(set->recordCount()));
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
}

void frmReports::Command1_Click()
{
    if (List1->count() == 0)
        return;
    List1->selectAll();
    List1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void frmReports::Command2_Click()
{
    if (List1->count() == 0)
        return;
    List1->clearSelection();
    List1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void frmReports::SSCommand1_Click()
{
    QFontDialog dialog(this);
    dialog.setObjectName("CD1");
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(text1->font());
    if (controls::ShowModal(&dialog) != QDialog::Accepted)
        return;  // cancelled: the sample and the labels keep their font
    const QFont chosen = dialog.currentFont();
    CR1.setSectionFont(0, reports::sectionFontText("DETAIL", chosen));
    text1->setFont(chosen);
}

bool frmReports::Get_Labels()
{
    if (List1->selectedItems().isEmpty()) {
        controls::MsgBox(QStringLiteral("You did not select any guests for this report.") +
                             "Click on the names to include for the report. " + "\n" +
                             "Use the 'Select All' button to include all guests.",
                         controls::mb::OKOnly | controls::mb::Exclamation, "No Names for Report", this);
        return false;
    }
    CR1.setReportFileName(
        templatePath(reports::labelTemplateName(cmblblinv->currentIndex(), cmbstyles->currentIndex())));
    markChosenParties();
    CR1.setSectionFont(0, reports::sectionFontText("DETAIL", text1->font()));
    return true;
}

// Clears the print mark of every guest and sets it on the chosen parties, all or nothing:
// a failure half-way leaves the marks as they were.
void frmReports::markChosenParties()
{
    store::Transaction change(shell::workspace());
    store::Recordset& every = *LabelSets[0];
    for (every.moveFirst(); !every.eof(); every.moveNext()) {
        every.edit();
        every.setValue("printit", false);
        every.update();
    }
    store::Recordset& chosen = *LabelSets[LabelEvent - 1];
    for (int i = 0; i < List1->count(); ++i) {
        if (!List1->item(i)->isSelected())
            continue;
        chosen.setAbsolutePosition(i);
        chosen.edit();
        chosen.setValue("printit", true);
        chosen.update();
    }
    change.commit();
}
